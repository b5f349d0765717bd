// vkgallery: the gallery window of the control set.
//
//   vkgallery [--page N] [--screenshot FILE]
//
// Without --screenshot the window stays open until it is closed. With it,
// the window is shown on page N, rendered into FILE (PNG) once it is on the
// screen, and the program ends: exit code 0, or 1 when the file could not
// be written. Bad options: exit code 2. On a machine without a display run it
// with xvfb-run, or with QT_QPA_PLATFORM=offscreen.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "platform/core/CodePage.h"
#include "platform/vcl/Forms.h"
#include "suite/Gallery/Gallery.h"

namespace {

int Usage(const std::string& error) {
  std::fprintf(stderr, "vkgallery: %s\nusage: vkgallery [--page N] [--screenshot FILE]\n",
               error.c_str());
  return 2;
}

// Runs events until the window is exposed on the screen (at most two
// seconds), then once more so that its first paint is done.
void WaitUntilOnScreen(QWidget* window) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 2000 && !(window->windowHandle() && window->windowHandle()->isExposed()))
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  vcl::Application->ProcessMessages();
}

}  // namespace

int main(int argc, char** argv) {
  // The program's texts are GB: a GB system unless the caller says otherwise.
  if (!std::getenv("VRK_CODEPAGE")) ::setenv("VRK_CODEPAGE", "936", 1);
  vcl::Application->Initialize(argc, argv);

  Gallery::TOptions options;
  std::string error;
  if (!Gallery::ParseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error))
    return Usage(error);

  Gallery::TfrmGallery* form = nullptr;
  try {
    form = vcl::Create<Gallery::TfrmGallery>(nullptr);
  } catch (const std::exception& e) {
    // Messages are GB text; the terminal reads UTF-8.
    const std::string message = platform::WideToUtf8(platform::BytesToWide(e.what(), 936));
    std::fprintf(stderr, "vkgallery: %s\n", message.c_str());
    return 1;
  }
  if (options.Page > form->pgGallery->PageCount()) {
    form->Free();
    return Usage("there is no page " + std::to_string(options.Page));
  }
  form->pgGallery->SetActivePageIndex(options.Page - 1);
  vcl::Application->SetMainForm(form);
  form->Show();

  int exitCode = 0;
  if (options.Screenshot.empty()) {
    vcl::Application->Run();
  } else {
    WaitUntilOnScreen(form->Handle());
    if (!Gallery::SaveWindowImage(form, options.Screenshot, error)) {
      std::fprintf(stderr, "vkgallery: %s\n", error.c_str());
      exitCode = 1;
    }
  }
  if (vcl::IsLiveComponent(form)) form->Free();
  vcl::Application->ProcessMessages();
  return exitCode;
}
