#include "app/FontConfiguration.h"

#include "app/Environment.h"
#include "calc/CFree.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <charconv>
#include <system_error>
#include <vector>

namespace app {

namespace {

using Config = calc::CHandle<FcConfig, &FcConfigDestroy>;

struct RuleRange {
    int first;
    int last;
};

constexpr RuleRange kRenderingRules[] = {{10, 29}, {50, 59}, {80, 99}};

// Text for an XML attribute or element.
std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

bool holdsAFace(const std::filesystem::path& folder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_regular_file(error)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> renderingRules(const std::filesystem::path& systemRules)
{
    std::vector<std::string> rules;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(systemRules, error)) {
        if (isRenderingRule(entry.path().filename().native())) {
            rules.push_back(entry.path().native());
        }
    }
    // In the order fontconfig reads a folder of rules: by name.
    std::sort(rules.begin(), rules.end());
    return rules;
}

} // namespace

bool isRenderingRule(std::string_view name)
{
    constexpr std::string_view kSuffix = ".conf";
    int number = 0;
    if (name.size() < 3 + kSuffix.size() || name[2] != '-' || !name.ends_with(kSuffix) ||
        std::from_chars(name.data(), name.data() + 2, number).ptr != name.data() + 2) {
        return false;
    }
    return std::ranges::any_of(
        kRenderingRules, [number](const RuleRange& range) { return range.first <= number && number <= range.last; });
}

std::optional<std::string> ownFontConfiguration(
    std::span<const std::string_view> faceFolders, const std::filesystem::path& systemRules)
{
    const auto folder = std::ranges::find_if(
        faceFolders, [](std::string_view candidate) { return holdsAFace(std::filesystem::path(candidate)); });
    if (folder == faceFolders.end()) {
        return std::nullopt;
    }
    std::string xml = "<?xml version=\"1.0\"?>\n<fontconfig>\n";
    xml += "  <dir>" + escaped(*folder) + "</dir>\n";
    // The caches the machine's configuration names, so that the face is
    // read from the cache fontconfig keeps for its folder, not scanned.
    xml += "  <cachedir>/var/cache/fontconfig</cachedir>\n"
           "  <cachedir prefix=\"xdg\">fontconfig</cachedir>\n"
           "  <cachedir>~/.fontconfig</cachedir>\n";
    for (const std::string& rule : renderingRules(systemRules)) {
        xml += "  <include ignore_missing=\"yes\">" + escaped(rule) + "</include>\n";
    }
    xml += "</fontconfig>\n";
    return xml;
}

bool useOwnFontConfiguration()
{
    for (const char* chosen : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT"}) {
        if (!environmentValue(chosen).empty()) {
            return false;
        }
    }
    const auto xml = ownFontConfiguration(kSongFaceFolders, std::filesystem::path(kSystemRules));
    if (!xml) {
        return false;
    }
    const Config config(FcConfigCreate());
    if (!config ||
        !FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8*>(xml->c_str()), FcFalse) ||
        !FcConfigBuildFonts(config.get())) {
        return false;
    }
    const FcFontSet* faces = FcConfigGetFonts(config.get(), FcSetSystem);
    if (!faces || faces->nfont == 0) {
        return false;
    }
    // fontconfig keeps its own reference to its current configuration.
    return FcConfigSetCurrent(config.get()) == FcTrue;
}

} // namespace app
