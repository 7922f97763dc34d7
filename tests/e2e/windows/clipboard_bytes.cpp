// Writes the Windows clipboard's text, as UTF-8 and byte for byte (line ends as they are), to the
// file given, for the end-to-end test under Wine: Wine's bridge to the X clipboard would turn
// CR LF into LF. Exit status 1 when there is no text on the clipboard, 2 when the file cannot be
// written.
//   clipboard_bytes <file>
#include <cstdio>
#include <string>

#include <windows.h>

namespace {

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
      if (size > 1) {
        text.resize(std::size_t(size));
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
        text.pop_back();  // the terminating zero
      }
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: clipboard_bytes <file>\n");
    return 2;
  }
  const std::string text = ClipboardText();
  if (text.empty()) return 1;
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) return 2;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written ? 0 : 2;
}
