// The settings file "QELVAR.INI" beside the program: read byte-wise once at
// start-up, created with the default text when missing or empty.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace qelvar {

struct Settings {
  int32_t mode = 19;  // numbered mode 13..21, or WWWWHHHH
  int32_t cdep = 32;  // colour depth
  uint8_t rdet = 1;   // detail level 0 low, 1 normal, 2 antialiased
};

// The text written to an empty settings file, CR LF line ends.
extern const std::string_view kDefaultSettingsText;

// Opens, creates or parses the file at path; any problem leaves the defaults.
Settings ReadSettings(const std::string& path);
// Reads a number: digits up to a CR, the end of file, or a non-digit after a digit.
int32_t ReadSettingValue(std::FILE* file);

}  // namespace qelvar
