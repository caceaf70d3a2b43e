#include "app/FontConfiguration.h"

#include "calc/CFree.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <unistd.h>

namespace {

using Config = calc::CHandle<FcConfig, &FcConfigDestroy>;
using Pattern = calc::CHandle<FcPattern, &FcPatternDestroy>;
using ObjectSet = calc::CHandle<FcObjectSet, &FcObjectSetDestroy>;

constexpr const char* kSongFace = "AR PL SungtiL GB";

TEST(FontConfiguration, TakesTheRulesThatSayHowFacesAreDrawn)
{
    struct Row {
        const char* name;
        bool taken;
    };
    const Row rows[] = {
        {"05-reset-dirs-sample.conf", false},
        {"10-hinting-slight.conf", true},
        {"11-lcdfilter-default.conf", true},
        {"20-unhint-small-vera.conf", true},
        {"25-unhint-nonlatin.conf", true},
        {"30-metric-aliases.conf", false},
        {"49-sansserif.conf", false},
        {"50-user.conf", true},
        {"51-local.conf", true},
        {"65-nonlatin.conf", false},
        {"70-no-bitmaps.conf", false},
        {"80-delicious.conf", true},
        {"90-synthetic.conf", true},
        {"99-last.conf", true},
        {"10-hinting-slight.conf.dpkg-old", false},
        {"10hinting.conf", false},
        {"1x-odd.conf", false},
        {"README", false},
        {".conf", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(app::isRenderingRule(row.name), row.taken) << row.name;
    }
}

class TemporaryFolder {
public:
    TemporaryFolder()
    {
        std::string name = (std::filesystem::temp_directory_path() / "font-configuration-XXXXXX").native();
        path_ = ::mkdtemp(name.data());
    }
    ~TemporaryFolder() { std::filesystem::remove_all(path_); }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void add(const std::string& name) const { std::ofstream(path_ / name) << "<fontconfig/>\n"; }

private:
    std::filesystem::path path_;
};

TEST(FontConfiguration, ListsTheFirstFolderWithAFaceUnderTheRenderingRulesInOrder)
{
    const TemporaryFolder empty;
    const TemporaryFolder faces;
    faces.add("face.ttf");
    const TemporaryFolder rules;
    for (const char* name : {"90-synthetic.conf", "10-hinting-slight.conf", "60-latin.conf", "51-&<local>.conf"}) {
        rules.add(name);
    }
    const std::string emptyFolder = empty.path().native();
    const std::string faceFolder = faces.path().native();
    const std::string_view folders[] = {"/nonexistent", emptyFolder, faceFolder};
    const auto xml = app::ownFontConfiguration(folders, rules.path());
    ASSERT_TRUE(xml);
    EXPECT_NE(xml->find("<dir>" + faceFolder + "</dir>"), std::string::npos);
    EXPECT_EQ(xml->find(emptyFolder + "<"), std::string::npos);
    EXPECT_EQ(xml->find("60-latin"), std::string::npos);
    const auto hinting = xml->find(rules.path().native() + "/10-hinting-slight.conf</include>");
    const auto local = xml->find(rules.path().native() + "/51-&amp;&lt;local&gt;.conf</include>");
    const auto synthetic = xml->find(rules.path().native() + "/90-synthetic.conf</include>");
    ASSERT_NE(hinting, std::string::npos);
    ASSERT_NE(local, std::string::npos);
    ASSERT_NE(synthetic, std::string::npos);
    EXPECT_LT(hinting, local);
    EXPECT_LT(local, synthetic);

    // fontconfig reads it, escapes and all.
    const Config config(FcConfigCreate());
    EXPECT_TRUE(FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8*>(xml->c_str()), FcTrue));

    const std::string_view noFace[] = {"/nonexistent", emptyFolder};
    EXPECT_FALSE(app::ownFontConfiguration(noFace, rules.path()));
}

// How fontconfig tells Qt to draw the Song face at `pixels`: the face's
// match as Qt asks for it, its rendering properties only.
Pattern drawing(FcConfig* config, double pixels, int weight)
{
    const Pattern asked(FcPatternCreate());
    FcPatternAddString(asked.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(kSongFace));
    FcPatternAddDouble(asked.get(), FC_PIXEL_SIZE, pixels);
    FcPatternAddInteger(asked.get(), FC_WEIGHT, weight);
    FcConfigSubstitute(config, asked.get(), FcMatchPattern);
    FcDefaultSubstitute(asked.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(config, asked.get(), &result));
    if (!match) {
        return nullptr;
    }
    const ObjectSet rendering(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_ANTIALIAS, FC_HINTING, FC_HINT_STYLE, FC_AUTOHINT,
        FC_RGBA, FC_LCD_FILTER, FC_EMBOLDEN, FC_EMBEDDED_BITMAP, FC_MATRIX, FC_PIXEL_SIZE, FC_WEIGHT, FC_SLANT, FC_DPI,
        FC_SCALE, nullptr));
    return Pattern(FcPatternFilter(match.get(), rendering.get()));
}

std::string described(const FcPattern* pattern)
{
    FcChar8* text = FcNameUnparse(const_cast<FcPattern*>(pattern));
    std::string out = text ? reinterpret_cast<const char*>(text) : "";
    std::free(text);
    return out;
}

TEST(FontConfiguration, DrawsTheSongFaceAsTheMachinesConfigurationDoes)
{
    const auto xml = app::ownFontConfiguration(app::kSongFaceFolders, std::filesystem::path(app::kSystemRules));
    if (!xml) {
        GTEST_SKIP() << "the Song face is not installed";
    }
    const Config own(FcConfigCreate());
    ASSERT_TRUE(FcConfigParseAndLoadFromMemory(own.get(), reinterpret_cast<const FcChar8*>(xml->c_str()), FcTrue));
    ASSERT_TRUE(FcConfigBuildFonts(own.get()));
    const FcFontSet* faces = FcConfigGetFonts(own.get(), FcSetSystem);
    ASSERT_TRUE(faces);
    EXPECT_GE(faces->nfont, 1);

    const Config machine(FcInitLoadConfigAndFonts());
    ASSERT_TRUE(machine);
    // The window's sizes at scales 1, 1.5 and 2, and the weights it asks for.
    for (const double pixels : {12.0, 16.0, 18.0, 24.0, 32.0}) {
        for (const int weight : {FC_WEIGHT_REGULAR, FC_WEIGHT_BOLD}) {
            const Pattern ours = drawing(own.get(), pixels, weight);
            const Pattern theirs = drawing(machine.get(), pixels, weight);
            ASSERT_TRUE(ours && theirs);
            EXPECT_TRUE(FcPatternEqual(ours.get(), theirs.get()))
                << pixels << " px, weight " << weight << ":\n  own:     " << described(ours.get())
                << "\n  machine: " << described(theirs.get());
        }
    }
}

} // namespace
