// The settings store: small binary values, each read only at exactly its expected size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace morvane {

// The file that holds every setting: ConfigDir() + "/Morvane.conf".
std::string SettingsFilePath();

// Copies the value called name into buffer when it exists and holds exactly size bytes;
// returns false otherwise (absent, other size, or an unreadable or damaged file), buffer
// then untouched. A plain integer typed into the file by hand reads as 4 little-endian bytes.
bool ReadSetting(const char* name, void* buffer, std::size_t size);
// Stores size bytes of data under name; the file is replaced whole, never left half written.
bool WriteSetting(const char* name, const void* data, std::size_t size);

// A 4-byte little-endian integer value, as most settings are.
bool ReadSettingInt32(const char* name, std::int32_t& value);
bool WriteSettingInt32(const char* name, std::int32_t value);

// The glossary switch "GBTAB": on unless a 4-byte value of 0 is stored.
bool ReadGlossarySwitch();

} // namespace morvane
