// pictor-cli's device commands, run as a process against pictor-sim.
#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include "cli/commands.h"
#include "support/sim_process.h"
#include "support/temp_dir.h"

#if defined(PICTOR_SIM_PATH) && defined(PICTOR_CLI_PATH)

namespace pictor::cli {
namespace {

using namespace std::chrono_literals;

struct CliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class DeviceCommands : public ::testing::Test {
  protected:
    pictor::test::TempDir dir;

    /// The environment the tool's language comes from (the Chinese interface
    /// unless a test says otherwise).
    std::string environment = "PICTOR_LANG=zh";

    /// Starts pictor-cli with `args` in `dir`, its output going to files.
    std::unique_ptr<pictor::test::ChildProcess> Start(const std::vector<std::string>& args) {
        std::string command = "cd '" + dir.Path().string() + "' && exec env -u LANGUAGE " +
                              environment + " '" PICTOR_CLI_PATH "'";
        for (const auto& a : args) {
            command += " '" + a + "'";
        }
        command += " >out.txt 2>err.txt";
        return std::make_unique<pictor::test::ChildProcess>(
            std::vector<std::string>{"/bin/sh", "-c", command}, false);
    }
    CliRun Finish(pictor::test::ChildProcess& child) {
        CliRun run;
        run.exitCode = child.WaitForExit(60s);
        run.out = pictor::test::ReadFile(dir / "out.txt");
        run.err = pictor::test::ReadFile(dir / "err.txt");
        return run;
    }
    CliRun Cli(const std::vector<std::string>& args) { return Finish(*Start(args)); }
    static pictor::test::SimProcess Sim(std::vector<std::string> args) {
        args.insert(args.end(), {"--erase-ms", "0"});
        return pictor::test::SimProcess(PICTOR_SIM_PATH, std::move(args));
    }
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(DeviceCommands, ConnectPrintsTheFlash) {
    auto sim = Sim({"--kind", "5"});
    const CliRun run = Cli({"connect", "--port", sim.Port()});
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_EQ(run.out,
              "flash 类别：5\nflash 型号：16Mbit\n传输模式：2\n图档起始扇区：2048\n"
              "flash 容量：2 MiB\n");
}

TEST_F(DeviceCommands, FailuresExplainWhy) {
    struct Case {
        std::vector<std::string> simArgs;
        std::vector<std::string> cliArgs;
        const char* message;
        const char* reason;
    };
    const Case cases[] = {
        {{"--no-reply", "90"}, {"connect"}, "连接失败", "模块没有应答"},
        {{"--short-reply", "90"}, {"connect"}, "连接失败", "应答不完整"},
        {{"--connect-reply", "9107"}, {"connect"}, "连接失败", "应答 91 07 中的 flash 类型未知"},
        {{"--no-reply", "90"}, {"lcd", "read"}, "连接LCM 失败", "没有应答"},
        {{"--no-reply", "90"}, {"download", "Icon.bin"}, "连接失败!", "没有应答"},
        {{"--kind", "5"}, {"download", "missing.bin"}, "读取 Bin 档失败!", "无法打开 missing.bin"},
        // The reason names the bytes the module sent, not zeros.
        {{"--connect-reply", "9107"},
         {"download", "Icon.bin"},
         "连接失败!",
         "应答 91 07 中的 flash 类型未知"},
        {{"--kind", "5"}, {"download", "empty.bin"}, "图档为空；没有擦除任何内容", ""},
    };
    pictor::test::WriteFile(dir / "empty.bin", "");
    for (const Case& c : cases) {
        auto sim = Sim(c.simArgs);
        std::vector<std::string> args = c.cliArgs;
        args.insert(args.begin() + (args[0] == "lcd" ? 2 : 1), {"--port", sim.Port()});
        pictor::test::WriteFile(dir / "Icon.bin", std::string(100, 'x'));
        const CliRun run = Cli(args);
        const std::string name = ::testing::PrintToString(c.cliArgs);
        EXPECT_EQ(run.exitCode, kExitFailed) << name;
        EXPECT_TRUE(Contains(run.err, c.message)) << name << run.err;
        EXPECT_TRUE(Contains(run.err, c.reason)) << name << run.err;
        EXPECT_EQ(run.out, "") << name;
    }
    const CliRun missing = Cli({"connect", "--port", (dir / "no-such-tty").string()});
    EXPECT_EQ(missing.exitCode, kExitFailed);
    EXPECT_TRUE(Contains(missing.err, "串口无法打开!"));
    EXPECT_TRUE(Contains(missing.err, "不存在"));
}

TEST_F(DeviceCommands, DownloadUsesTheScomDefaultsAndSummarises) {
    auto sim = Sim({"--kind", "1", "--flash", (dir / "flash.img").string()});
    pictor::test::WriteFile(dir / "Pictor.ini", "[Scom]\nCOM=" + sim.Port() + "\nBIT=256000\n");
    pictor::test::WriteFile(dir / "Icon.bin", std::string(1000, 'p'));
    const CliRun run = Cli({"download", "Icon.bin"});
    EXPECT_EQ(run.exitCode, kExitOk) << run.err;
    EXPECT_TRUE(Contains(run.out, "下载 Bin档成功"));
    EXPECT_TRUE(Contains(run.err, "擦除Flash...25 %\n"));
    EXPECT_TRUE(Contains(run.err, "写入 1024 字节")) << run.err;
    EXPECT_TRUE(Contains(run.err, "为 256000 波特线速的"));
    std::string padded(1000, 'p');
    padded.resize(1024, '\0');
    EXPECT_EQ(pictor::test::ReadFile(dir / "BackUp_All.BIN"), padded);
}

TEST_F(DeviceCommands, DownloadFailureIsNeverZero) {
    auto sim = Sim({"--kind", "5", "--crc-reject", "6"});
    pictor::test::WriteFile(dir / "Icon.bin", std::string(600, 'p'));
    const CliRun run = Cli({"download", "--port", sim.Port(), "Icon.bin"});
    EXPECT_EQ(run.exitCode, kExitFailed);
    EXPECT_TRUE(Contains(run.err, "错误信息: 下载 Bin档失败!"));
    EXPECT_FALSE(Contains(run.out + run.err, "成功"));
}

TEST_F(DeviceCommands, SettingsNotWrittenAfterADownloadAreWarnedAboutAndExitOne) {
    auto sim = Sim({"--kind", "5", "--no-reply", "96"});
    pictor::test::WriteFile(dir / "Icon.bin", std::string(600, 'p'));
    const CliRun run = Cli({"download", "--port", sim.Port(), "--send-settings", "Icon.bin"});
    EXPECT_EQ(run.exitCode, kExitFailed);
    EXPECT_TRUE(Contains(run.out, "下载 Bin档成功")) << "the download itself succeeded";
    EXPECT_TRUE(Contains(run.err, "警告: 图档已下载，但 LCD 设置没有写入")) << run.err;
}

TEST_F(DeviceCommands, CtrlCCancelsTheDownload) {
    // 256 KiB at an emulated 256000 baud take about ten seconds to write.
    auto sim = Sim({"--kind", "5", "--line-rate", "256000"});
    pictor::test::WriteFile(dir / "Icon.bin", std::string(262144, 'p'));
    auto cli = Start({"download", "--port", sim.Port(), "Icon.bin"});
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (!Contains(pictor::test::ReadFile(dir / "err.txt"), "写数据 1 %") &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
    }
    cli->Signal(SIGINT);
    const CliRun run = Finish(*cli);
    EXPECT_EQ(run.exitCode, kExitCancelled) << run.err;
    EXPECT_TRUE(Contains(run.err, "错误信息: 下载已取消"));
    // The module is still usable after the cancelled job.
    EXPECT_EQ(Cli({"connect", "--port", sim.Port()}).exitCode, kExitOk);
}

TEST_F(DeviceCommands, LcdWriteThenRead) {
    auto sim = Sim({"--kind", "2"});
    const CliRun write =
        Cli({"lcd", "write", "--port", sim.Port(), "--address", "17", "--baud-index", "6",
             "--backlight", "9", "--foreground", "0", "--background", "5"});
    EXPECT_EQ(write.exitCode, kExitOk) << write.err;
    EXPECT_EQ(write.out, "成功: 写LCD设置数据\n");
    const CliRun read = Cli({"lcd", "read", "--port", sim.Port()});
    EXPECT_EQ(read.exitCode, kExitOk) << read.err;
    EXPECT_EQ(read.out,
              "地址：17\n波特率：6 (115200)\n背光：9\n前景色：0 (BLACK)\n"
              "背景色：5 (YELLOW)\n");
}

// The same runs in both interfaces: the texts follow the language, the exit codes
// never do.
TEST_F(DeviceCommands, BothLanguagesGiveTheirTextsAndTheSameExitCodes) {
    pictor::test::WriteFile(dir / "Icon.bin", std::string(600, 'p'));
    pictor::test::WriteFile(dir / "broken.bmp", "BM not a picture");
    struct Language {
        std::string environment;
        const char* downloaded;
        const char* erasing;
        const char* summary;
        const char* loadFailed;
        const char* nothingConverted;
    };
    const Language languages[] = {
        {"LANG=zh_CN.UTF-8", "信息: 下载 Bin档成功", "擦除Flash...25 %", "合计：", "加载图片 ",
         "没有能加载的图片；未转换任何内容"},
        {"LANG=C LC_ALL=", "Information: Image downloaded", "Erasing the flash... 25 %",
         "summary: 1024 bytes written in ", "The picture ",
         "no picture could be loaded; nothing converted"},
    };
    for (const Language& language : languages) {
        environment = language.environment;
        auto sim = Sim({"--kind", "1", "--flash", (dir / "flash.img").string()});
        const CliRun download = Cli({"download", "--port", sim.Port(), "Icon.bin"});
        EXPECT_EQ(download.exitCode, kExitOk) << download.err;
        EXPECT_TRUE(Contains(download.out, language.downloaded)) << download.out;
        EXPECT_TRUE(Contains(download.err, language.erasing)) << download.err;
        EXPECT_TRUE(Contains(download.err, language.summary)) << download.err;

        const CliRun convert = Cli({"convert", "broken.bmp"});
        EXPECT_EQ(convert.exitCode, kExitFailed) << convert.err;
        EXPECT_TRUE(Contains(convert.err, language.loadFailed)) << convert.err;
        EXPECT_TRUE(Contains(convert.err, language.nothingConverted)) << convert.err;
    }
}

// The language of the process follows its environment and --lang.
TEST_F(DeviceCommands, HelpFollowsTheEnvironmentAndTheOption) {
    environment = "LC_ALL=zh_CN.UTF-8 PICTOR_LANG=en";
    EXPECT_TRUE(Contains(Cli({"--lang", "zh", "--help"}).out, "显示本帮助并退出"));
    EXPECT_TRUE(Contains(Cli({"--help"}).out, "Print this help message and exit"));
    environment = "PICTOR_LANG= LC_ALL= LC_MESSAGES= LANG=zh_TW.UTF-8";
    EXPECT_TRUE(Contains(Cli({"--help"}).out, "显示本帮助并退出"));
}

TEST(DeviceCommandUsage, BadUsageExitsTwo) {
    const std::vector<std::vector<const char*>> cases = {
        {"pictor-cli", "lcd", "write", "--address", "256"},
        {"pictor-cli", "lcd", "write", "--baud-index", "7"},
        {"pictor-cli", "lcd", "write", "--backlight", "10"},
        {"pictor-cli", "lcd", "write", "--foreground", "6"},
        {"pictor-cli", "download"},
        {"pictor-cli", "download", "--address", "3", "Icon.bin"},
        {"pictor-cli", "lcd"},
    };
    for (const auto& args : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(pictor::cli::Run(static_cast<int>(args.size()), args.data(), Streams{out, err}),
                  kExitUsage)
            << ::testing::PrintToString(args);
    }
}

}  // namespace
}  // namespace pictor::cli

#endif
