#pragma once

#include <optional>
#include <string>

/* The GB / Big5 text conversion of the outside library "Vklanguage.dll". */
namespace TranslatorU {

inline constexpr char kLibraryName[] = "Vklanguage.dll";

/* Holds the loaded library and its two entry points "GBtoBIG5" and
   "BIG5toGB". The library is looked for in the program's folder (see
   SetLibraryFolder) and freed with the translator. */
class TTranslator {
 public:
  /* Loads the library. Raises platform::Exception "Load Library
     Vklanguage.dll Error!" when it cannot be loaded and "Get Library
     Procedure Address Error!" when either entry point is missing. */
  TTranslator();
  ~TTranslator();
  TTranslator(const TTranslator&) = delete;
  TTranslator& operator=(const TTranslator&) = delete;

  /* The text converted by the library; the text itself when the entry point
     is missing or the library reports a failure. */
  std::string GBToBig5(const std::string& text) const;
  std::string Big5ToGB(const std::string& text) const;

 private:
  using Convert = long (*)(const char*, long, char*, long);
  static std::string Call(Convert function, const std::string& text);

  void* handle_ = nullptr;
  Convert gbToBig5_ = nullptr;
  Convert big5ToGB_ = nullptr;
};

/* Puts another folder in place of the program's folder as the place the
   library is loaded from (tests); nullopt goes back to the program's
   folder. */
void SetLibraryFolder(std::optional<std::string> folder);
/* The folder the library is loaded from, ending in "/". */
std::string LibraryFolder();

}  // namespace TranslatorU
