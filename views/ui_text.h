// Interface texts as Qt strings: the language tables' texts, and the window's file messages.
#pragma once

#include <QString>

#include <cstdint>

namespace morvane {

// The text of a string id in the current language; empty when the table has no row.
QString LangText(std::uint32_t id);
// A command prompt "status text\ntool tip": its status part and its tool-tip part.
QString StatusPart(std::uint32_t id);
QString TipPart(std::uint32_t id);

// "Cannot read the file ...: reason" in the current language.
QString ReadErrorText(const QString& path, const QString& reason);
// "Cannot save the file ...: reason; the file was left as it was" in the current language.
QString SaveErrorText(const QString& path, const QString& reason);

} // namespace morvane
