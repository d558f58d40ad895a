// Texts between the logic and Qt. The logic keeps byte strings in a Windows code page (keys and
// messages in the ANSI code page, each language column in that of its character set); widgets
// show QStrings. These are the only conversions the windows use.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlect::ui {

QString FromCodePage(std::string_view bytes, int codePage);
// A character the code page lacks becomes '?' and sets *lossy.
std::string ToCodePage(const QString& text, int codePage, bool* lossy = nullptr);

// The configured ANSI code page.
QString FromAnsi(std::string_view bytes);
std::string ToAnsi(const QString& text, bool* lossy = nullptr);

// A font character set's code page (DEFAULT_CHARSET and unknown sets: the ANSI code page).
QString FromCharset(std::string_view bytes, std::uint8_t charset);
std::string ToCharset(const QString& text, std::uint8_t charset, bool* lossy = nullptr);

// A message of the logic as a dialog shows it: ANSI bytes, "\r" or "\r\n" breaks the line.
QString MessageText(std::string_view ansi);

}  // namespace vorlect::ui
