// The command-line tool's language choice and its Qt-free reading of the
// compiled translations, checked against Qt's own reader.
#include "cli/cli_texts.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QTranslator>
#include <map>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "cli/qm_catalog.h"
#include "compiled_translations.h"
#include "core/conversion/memory_map.h"
#include "core/conversion/picture_decoder.h"
#include "core/workspace/project_file.h"

namespace pictor::cli {
namespace {

Language Choose(std::optional<Language> option, const std::map<std::string, std::string>& env) {
    return ChooseLanguage(option, [&env](const char* name) -> const char* {
        const auto found = env.find(name);
        return found == env.end() ? nullptr : found->second.c_str();
    });
}

TEST(CliLanguage, OptionThenPictorLangThenLocaleVariables) {
    using enum Language;
    EXPECT_EQ(Choose(std::nullopt, {}), English);
    EXPECT_EQ(Choose(English, {{"PICTOR_LANG", "zh"}, {"LANG", "zh_CN.UTF-8"}}), English);
    EXPECT_EQ(Choose(std::nullopt, {{"PICTOR_LANG", "zh"}, {"LC_ALL", "C"}}), Chinese);
    EXPECT_EQ(Choose(std::nullopt, {{"LC_ALL", "en_US.UTF-8"}, {"LANG", "zh_CN.UTF-8"}}), English);
    EXPECT_EQ(Choose(std::nullopt, {{"LC_MESSAGES", "zh_SG"}, {"LANG", "de_DE"}}), Chinese);
    // Empty counts as unset at every level.
    EXPECT_EQ(
        Choose(std::nullopt,
               {{"PICTOR_LANG", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "zh_CN.UTF-8"}}),
        Chinese);
    // C and POSIX are English, even where LANG says Chinese further down.
    EXPECT_EQ(Choose(std::nullopt, {{"LC_ALL", "C"}, {"LANG", "zh_CN.UTF-8"}}), English);
    EXPECT_EQ(Choose(std::nullopt, {{"LC_MESSAGES", "POSIX"}, {"LANG", "zh_CN"}}), English);
}

TEST(CliLanguage, LangOptionIsFoundBeforeParsing) {
    const char* spaced[] = {"pictor-cli", "convert", "--lang", "zh", "a.bmp"};
    EXPECT_EQ(LanguageInArguments(5, spaced), Language::Chinese);
    const char* joined[] = {"pictor-cli", "--lang=en", "ports"};
    EXPECT_EQ(LanguageInArguments(3, joined), Language::English);
    const char* bad[] = {"pictor-cli", "--lang", "fr"};
    EXPECT_EQ(LanguageInArguments(3, bad), std::nullopt);
    // After "--" it is a file name, not the option.
    const char* after[] = {"pictor-cli", "convert", "--", "--lang=zh"};
    EXPECT_EQ(LanguageInArguments(4, after), std::nullopt);
}

// Every message of every compiled translation reads the same as through
// QTranslator, and the files are not empty.
TEST(QmCatalog, AgreesWithQtOnEveryMessage) {
    for (const char* language : {"en", "zh"}) {
        const std::span<const std::uint8_t> bytes = CompiledTranslation(language);
        ASSERT_FALSE(bytes.empty()) << language;
        const std::optional<QmCatalog> catalog = QmCatalog::Parse(bytes);
        ASSERT_TRUE(catalog) << language;
        EXPECT_GT(catalog->Size(), 50U) << language;
        QTranslator translator;
        ASSERT_TRUE(translator.load(bytes.data(), static_cast<int>(bytes.size())));
        for (const auto& [key, translation] : catalog->Messages()) {
            const QString qt = translator.translate(key.first.c_str(), key.second.c_str());
            EXPECT_EQ(qt.toStdString(), translation) << language << " " << key.second;
        }
    }
}

TEST(QmCatalog, RefusesDamagedFiles) {
    const std::span<const std::uint8_t> bytes = CompiledTranslation("en");
    ASSERT_GT(bytes.size(), 40U);
    EXPECT_FALSE(QmCatalog::Parse(bytes.first(15)));  // shorter than the magic
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    copy[0] ^= 0xFF;
    EXPECT_FALSE(QmCatalog::Parse(copy));
    // A section that claims more bytes than there are.
    copy.assign(bytes.begin(), bytes.end());
    copy.resize(copy.size() - 3);
    EXPECT_FALSE(QmCatalog::Parse(copy));
    EXPECT_EQ(CompiledTranslation("xx").size(), 0U);
}

TEST(CliTexts, CoreMessagesAndStatusesAreTranslatedWithTheirValues) {
    const Texts english(Language::English);
    const Message loaded =
        PatternMessage("加载图片 %1 错误 !", {"/p/%2.bmp"}, "", MessageIcon::Stop);
    EXPECT_EQ(english.Localize(loaded).text, "The picture /p/%2.bmp could not be loaded!");
    EXPECT_EQ(english.Localize(Message{"下载已取消", "错误信息", MessageIcon::Stop}),
              (Message{"Download cancelled", "Error", MessageIcon::Stop}));
    EXPECT_EQ(english.LocalizeStatus("写数据...37 %"), "Writing data... 37 %");
    EXPECT_EQ(english.LocalizeStatus("写数据 37 %"), "Writing data 37 %");
    EXPECT_EQ(english.LocalizeStatus("连接设备"), "Connecting to the module");
    EXPECT_EQ(english.LocalizeStatus("no such text"), "no such text");

    const Texts chinese(Language::Chinese);
    EXPECT_EQ(chinese.Localize(loaded).text, "加载图片 /p/%2.bmp 错误 !");
    EXPECT_EQ(chinese.LocalizeStatus("写数据...37 %"), "写数据...37 %");
    EXPECT_EQ(chinese.Translate("Cli", "no serial ports found"), "没有找到串口");
}

// --lang before or after the command picks the texts; the exit code stays.
TEST(CliTexts, LangOptionChangesTheTextNotTheExitCode) {
    const std::pair<std::vector<const char*>, const char*> runs[] = {
        {{"pictor-cli", "--lang", "en", "convert"},
         "pictor-cli: give the PICTURE files or --project FILE\n"},
        {{"pictor-cli", "convert", "--lang=zh"},
         "pictor-cli：请给出图片文件或 --project 工程文件\n"},
    };
    for (const auto& [args, text] : runs) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(cli::Run(static_cast<int>(args.size()), args.data(), Streams{out, err}),
                  kExitUsage);
        EXPECT_EQ(err.str(), text);
    }
    std::ostringstream out;
    std::ostringstream err;
    const char* bad[] = {"pictor-cli", "--lang", "fr", "ports"};
    EXPECT_EQ(cli::Run(4, bad, Streams{out, err}), kExitUsage);

    // The parser's own complaint keeps its words behind a lead-in in the language.
    for (const auto& [language, lead] :
         {std::pair{"en", "pictor-cli: "}, std::pair{"zh", "pictor-cli：命令行有误："}}) {
        std::ostringstream parseOut;
        std::ostringstream parseErr;
        const char* args[] = {"pictor-cli", "--lang", language, "ports", "--no-such-option"};
        EXPECT_EQ(cli::Run(5, args, Streams{parseOut, parseErr}), kExitUsage);
        EXPECT_EQ(parseErr.str().rfind(lead, 0), 0U) << parseErr.str();
        EXPECT_NE(parseErr.str().find("--no-such-option"), std::string::npos) << parseErr.str();
    }
}

// Core functions that return texts take the front end's lookup and fill the
// translated pattern with their values.
TEST(CliTexts, CoreTextsReturnedByFunctionsFollowTheLookup) {
    const Texts chinese(Language::Chinese);
    const CoreTextLookup lookup = [&chinese](std::string_view source) {
        return chinese.Translate(kCoreTextContext, source);
    };
    EXPECT_EQ(workspace::LoadProject("/no/such/p.pictor", lookup).error,
              "/no/such/p.pictor：文件不存在");
    EXPECT_EQ(workspace::LoadProject("/no/such/p.pictor").error, "/no/such/p.pictor: no such file");
    const std::string text = "version = 9\n";
    EXPECT_EQ(workspace::ParseProject(text, "/tmp", "p.pictor", lookup).error,
              "p.pictor：第 1 行：以工程格式 9 写成，比本程序能读取的格式（1）更新");

    const std::vector<std::uint8_t> shortImage(100, 0);
    EXPECT_EQ(conversion::DecodeStoredPicture(shortImage, 0, settings::ModelProfile{}, std::nullopt,
                                              lookup)
                  .error,
              "图档（100 字节）比其索引表（2048 字节）还短");

    conversion::MemoryMapTotals totals;
    totals.pictures = 3;
    totals.imageBytes = 4096;
    const std::vector<std::string> lines = conversion::MemoryMapSummary(totals, lookup);
    ASSERT_EQ(lines.size(), 7U);
    EXPECT_EQ(lines[0], "图片数：3");
    EXPECT_EQ(lines[5], "图档：4096 字节");
}

}  // namespace
}  // namespace pictor::cli
