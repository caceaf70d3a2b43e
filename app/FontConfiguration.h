#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace app {

// Where Debian installs the Song face the window draws with.
inline constexpr std::string_view kSongFaceFolders[] = {"/usr/share/fonts/truetype/arphic-gbsn00lp"};
// The machine's fontconfig rules, one file each.
inline constexpr std::string_view kSystemRules = "/etc/fonts/conf.d";

// Whether the rule file `name` is one that says how fonts are drawn, by
// fontconfig's numbering of its rules: 10-29 rendering (antialiasing,
// hinting, a face's own exceptions), 50-59 the user's and the machine's own
// files, 80-89 changes to scanned faces, 90-99 synthetic bold and oblique.
// Family lists and font choice (00-09, 30-49, 60-79) are left out.
bool isRenderingRule(std::string_view name);

// A fontconfig configuration that lists only the first of `faceFolders`
// that holds a face, under the machine's rendering rules in `systemRules`
// and its font caches; none where no folder does.
std::optional<std::string> ownFontConfiguration(
    std::span<const std::string_view> faceFolders, const std::filesystem::path& systemRules);

// Before the application is made: makes ownFontConfiguration() of the Song
// face's folders fontconfig's configuration for this process, so that it
// reads a dozen rule files instead of a hundred and lists one face instead
// of every installed one. Faces are drawn exactly as under the machine's
// configuration. Leaves fontconfig alone, and says false, where the user
// chose a configuration (FONTCONFIG_FILE, FONTCONFIG_PATH,
// FONTCONFIG_SYSROOT), where the face is missing, or where fontconfig does
// not take the configuration.
bool useOwnFontConfiguration();

} // namespace app
