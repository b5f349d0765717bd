#include "outside/Automation.h"

#include "platform/core/Dispatch.h"

namespace Outside {

using platform::Variant;

Variant CreateQueueManager() { return Variant(platform::CreateOleObject(kQueueManagerClass)); }

Variant OpenReport(const Variant& queueManager, const Variant& args) {
  return platform::CallMethod(queueManager, "OpenReport", {args});
}

Variant CreateBrowser() { return Variant(platform::CreateOleObject(kBrowserClass)); }

void PlaceBrowser(const Variant& browser, int left, int top, int width, int height) {
  platform::PutProperty(browser, "Visible", Variant(true));
  platform::PutProperty(browser, "left", Variant(int32_t{left}));
  platform::PutProperty(browser, "top", Variant(int32_t{top}));
  platform::PutProperty(browser, "height", Variant(int32_t{height}));
  platform::PutProperty(browser, "width", Variant(int32_t{width}));
  platform::PutProperty(browser, "menubar", Variant(false));
  platform::PutProperty(browser, "addressbar", Variant(false));
  platform::PutProperty(browser, "toolbar", Variant(false));
}

void Navigate(const Variant& browser, const std::string& url) {
  platform::CallMethod(browser, "Navigate", {Variant(url)});
}

}  // namespace Outside
