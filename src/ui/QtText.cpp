#include "ui/QtText.h"

#include "platform/CodePages.h"

namespace vorlect::ui {

QString FromCodePage(std::string_view bytes, int codePage) {
  const std::u16string u = platform::DecodeCodePage(bytes, codePage);
  return QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()));
}

std::string ToCodePage(const QString& text, int codePage, bool* lossy) {
  const std::u16string_view u(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size()));
  return platform::EncodeCodePage(u, codePage, lossy);
}

QString FromAnsi(std::string_view bytes) { return FromCodePage(bytes, platform::AnsiCodePage()); }
std::string ToAnsi(const QString& text, bool* lossy) { return ToCodePage(text, platform::AnsiCodePage(), lossy); }

QString FromCharset(std::string_view bytes, std::uint8_t charset) {
  return FromCodePage(bytes, platform::CodePageOfCharset(charset));
}
std::string ToCharset(const QString& text, std::uint8_t charset, bool* lossy) {
  return ToCodePage(text, platform::CodePageOfCharset(charset), lossy);
}

QString MessageText(std::string_view ansi) {
  QString s = FromAnsi(ansi);
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace vorlect::ui
