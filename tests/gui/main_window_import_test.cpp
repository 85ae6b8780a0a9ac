// Importing pictures off the user-interface thread: progress between event-loop
// turns, cancel, entries without full bitmaps, and the preview's picture cache.

#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/conversion/convert_operation.h"
#include "core/workspace/picture_import.h"
#include "gui/lcd_preview.h"
#include "gui/picture_cache.h"
#include "main_window_fixture.h"
#include "support/bitmap_files.h"

namespace pictor::gui::testing {
namespace {

// A 3 x 2 picture with a different colour in every pixel, stored bottom-up:
// top row red, green, blue; bottom row white, black, 0x4080C0.
QString PatternPicture(const QString& dir, const QString& name) {
    test::BitmapLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.pixels = {0xFF, 0xFF, 0xFF, 0, 0,    0, 0xC0, 0x80, 0x40, 0, 0, 0,
                     0,    0,    0xFF, 0, 0xFF, 0, 0xFF, 0,    0,    0, 0, 0};
    const QString path = QDir(dir).filePath(name);
    EXPECT_TRUE(test::WriteBytes(path.toStdString(), test::BuildBitmap(layout)));
    return path;
}

class RecordingMessages final : public MessageSink {
  public:
    void Show(const Message& message) override { texts.push_back(message.text); }
    std::vector<std::string> texts;
};

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

using ImportWindowTest = MainWindowTest;

TEST_F(ImportWindowTest, ProgressArrivesBetweenEventLoopTurnsAndFailuresAreSummedUp) {
    MainWindow& window = Start();
    const QString bad = QDir(dir_->Dir()).filePath("broken.bmp");
    ASSERT_TRUE(WriteFile(bad, QByteArray("BM not a picture")));
    const QStringList paths{Picture("f.bmp"), Picture("e.bmp"), bad,
                            Picture("c.bmp"), Picture("b.bmp"), Picture("a.bmp")};

    std::vector<std::pair<int, int>> steps;
    int stepWhenTimerFired = -1;
    QObject::connect(&window, &MainWindow::importProgress, &window, [&](int done, int total) {
        EXPECT_TRUE(window.ImportRunning());
        steps.emplace_back(done, total);
        if (done == 2) {
            EXPECT_FALSE(window.close());  // the import's Cancel ends it, not a close
        }
        if (done == 1) {
            QTimer::singleShot(0, &window, [&] {
                stepWhenTimerFired = window.ImportRunning() ? static_cast<int>(steps.size()) : -2;
            });
        }
    });
    window.ImportPaths(paths);

    EXPECT_FALSE(window.ImportRunning());
    // The timer queued at the first step ran before the second: the loop turned.
    EXPECT_EQ(stepWhenTimerFired, 1);
    ASSERT_EQ(steps.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(steps[static_cast<std::size_t>(i)], std::make_pair(i + 1, 6));
    }
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].text,
              "1 picture was not imported:\n" + bad.toStdString() + ": truncated or damaged");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "e", "f"}));
    EXPECT_EQ(window.Pictures().CurrentIndex(), 4);
}

// Broken files never stop the import with a box: every other picture is
// imported, and one summary at the end names each failed file and why.
TEST_F(ImportWindowTest, BrokenFilesAreListedWithTheirReasonsAfterTheImport) {
    MainWindow& window = Start();
    const QDir dir(dir_->Dir());
    QByteArray truncated = SolidBitmap(8, 8, Qt::red);
    truncated.truncate(80);  // headers whole, pixel rows cut short
    QByteArray tooWide = SolidBitmap(8, 8, Qt::red);
    tooWide[18] = '\x28';  // width 9000 = 0x2328, little-endian
    tooWide[19] = '\x23';
    const QString cut = dir.filePath("d-cut.bmp");
    const QString text = dir.filePath("h-notes.bmp");
    const QString wide = dir.filePath("j-wide.bmp");
    const QString folder = dir.filePath("k-folder.bmp");
    ASSERT_TRUE(WriteFile(cut, truncated));
    ASSERT_TRUE(WriteFile(text, QByteArray("just some notes, no picture")));
    ASSERT_TRUE(WriteFile(wide, tooWide));
    ASSERT_TRUE(dir.mkdir("k-folder.bmp"));
    QStringList paths;
    for (const char* name : {"a", "b", "c"}) {
        paths << Picture(QStringLiteral("%1.bmp").arg(QLatin1String(name)));
    }
    paths << cut;
    for (const char* name : {"e", "f", "g"}) {
        paths << Picture(QStringLiteral("%1.bmp").arg(QLatin1String(name)));
    }
    paths << text << Picture("i.bmp") << wide << folder << Picture("l.bmp");

    int shownDuringImport = 0;
    dialogs_.onMessage = [&](const Message&) { shownDuringImport += window.ImportRunning(); };
    window.ImportPaths(paths);

    EXPECT_EQ(shownDuringImport, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "b", "c", "e", "f", "g", "i", "l"}));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs_.messages[0].text,
              "4 pictures were not imported:\n" + cut.toStdString() + ": truncated or damaged\n" +
                  text.toStdString() + ": unsupported format (not a bitmap or PNG)\n" +
                  wide.toStdString() + ": too large (more than 8192 pixels wide or high)\n" +
                  folder.toStdString() + ": cannot be opened");
}

TEST_F(ImportWindowTest, CancelKeepsThePicturesDoneSoFarSorted) {
    MainWindow& window = Start();
    QStringList paths;
    for (const char* name : {"f.bmp", "e.bmp", "d.bmp", "c.bmp", "b.bmp", "a.bmp"}) {
        paths << Picture(QString::fromLatin1(name));
    }
    int steps = 0;
    QObject::connect(&window, &MainWindow::importProgress, &window, [&](int done, int /*total*/) {
        steps = done;
        if (done == 3) {
            auto* progress = window.findChild<QProgressDialog*>(QStringLiteral("importProgress"));
            ASSERT_NE(progress, nullptr);
            auto* cancel = progress->findChild<QPushButton*>();
            ASSERT_NE(cancel, nullptr);
            cancel->click();
        }
    });
    window.ImportPaths(paths);

    EXPECT_EQ(steps, 3);
    EXPECT_EQ(Names(), (std::vector<std::string>{"d", "e", "f"}));
    EXPECT_EQ(window.Pictures().CurrentIndex(), 2);
    EXPECT_EQ(window.findChild<QProgressDialog*>(QStringLiteral("importProgress")), nullptr);

    // The next import runs normally and adds to what was kept.
    window.ImportPaths({paths[5]});
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "d", "e", "f"}));
}

TEST_F(ImportWindowTest, EntriesKeepThumbnailsOnlyAndThePreviewDecodesFromTheFile) {
    MainWindow& window = Start();
    const QString pattern = PatternPicture(dir_->Dir(), "pattern.bmp");
    window.ImportPaths({pattern});
    ASSERT_EQ(window.Pictures().Size(), 1u);
    const auto& entry = window.Pictures().At(0);
    EXPECT_EQ(entry.bitmap, nullptr);
    ASSERT_NE(entry.thumbnail, nullptr);
    EXPECT_EQ(entry.width, 3);
    EXPECT_EQ(entry.height, 2);

    window.ToggleShown(0);
    window.Pictures().At(0).left = 5;
    window.Pictures().At(0).top = 7;
    const auto expectPattern = [&](const QImage& screen) {
        EXPECT_EQ(screen.pixelColor(5, 7), QColor(0xFF, 0, 0));
        EXPECT_EQ(screen.pixelColor(6, 7), QColor(0, 0xFF, 0));
        EXPECT_EQ(screen.pixelColor(7, 7), QColor(0, 0, 0xFF));
        EXPECT_EQ(screen.pixelColor(5, 8), QColor(0xFF, 0xFF, 0xFF));
        EXPECT_EQ(screen.pixelColor(7, 8), QColor(0x40, 0x80, 0xC0));
        EXPECT_EQ(screen.pixelColor(8, 7), QColor(Qt::black));  // background
    };
    expectPattern(window.Preview().Render());

    // A project opened later gives the same: thumbnails only, drawn from the file.
    const QString project = QDir(dir_->Dir()).filePath("list.pictor");
    ASSERT_TRUE(window.SaveProjectTo(project));
    window.OnRemoveAll();
    ASSERT_TRUE(window.OpenProject(project));
    ASSERT_EQ(window.Pictures().Size(), 1u);
    EXPECT_EQ(window.Pictures().At(0).bitmap, nullptr);
    expectPattern(window.Preview().Render());

    // A file gone since the import is left off the preview; nothing else breaks.
    window.Preview().ForgetPictures();
    ASSERT_TRUE(QFile::remove(pattern));
    const QImage screen = window.Preview().Render();
    EXPECT_EQ(screen.pixelColor(5, 7), QColor(Qt::black));
}

TEST_F(ImportWindowTest, ConvertAfterTheImportGivesTheBytesOfDecodedPictures) {
    MainWindow& window = Start();
    const QStringList paths{Picture("b.bmp", 5, 3, QColor(0x12, 0x34, 0x56)),
                            PatternPicture(dir_->Dir(), "a.bmp"),
                            Picture("c.bmp", 4, 4, Qt::yellow, 3, 9)};
    window.ImportPaths(paths);
    ASSERT_EQ(window.Pictures().Size(), 3u);

    // The same files imported the old way, with every picture decoded and kept,
    // converted into a directory of their own.
    workspace::PictureList decoded;
    std::vector<std::string> files;
    for (const QString& path : paths) {
        files.push_back(path.toStdString());
    }
    RecordingMessages reference;
    ASSERT_EQ(workspace::ImportPictures(decoded, files, reference), 3);
    ASSERT_NE(decoded.At(0).bitmap, nullptr);
    conversion::ConvertOptions options;
    options.outputDir = std::filesystem::path(dir_->Dir().toStdString()) / "reference";
    options.writeTrailers = false;
    std::filesystem::create_directories(options.outputDir);
    ASSERT_TRUE(conversion::Convert(decoded, window.Profile(), options, reference).success);

    Button(1021)->click();
    const std::filesystem::path here(dir_->Dir().toStdString());
    const std::string expected = FileBytes(options.outputDir / "Icon.bin");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(FileBytes(here / "Icon.bin"), expected);
    // The header carries the time it was written; the rest must match.
    const auto withoutTime = [](std::string text) {
        const auto at = text.find("Generation Time:");
        return at == std::string::npos ? text : text.erase(at, text.find('\n', at) - at);
    };
    EXPECT_EQ(withoutTime(FileBytes(here / "Icon.h")),
              withoutTime(FileBytes(options.outputDir / "Icon.h")));
}

TEST(PictureCacheTest, KeepsTheMostRecentlyUsedWithinItsBudgetAndFollowsFileChanges) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto entryFor = [&](const char* name, int width, std::uint32_t colour = 0x00FF00) {
        workspace::ImageEntry entry;
        entry.path = QDir(dir.path()).filePath(QString::fromLatin1(name)).toStdString();
        EXPECT_TRUE(test::WriteBytes(entry.path, test::SolidBitmap(width, 10, colour)));
        return entry;
    };
    const auto a = entryFor("a.bmp", 10);
    const auto b = entryFor("b.bmp", 10);
    const auto c = entryFor("c.bmp", 10);
    // Room for two 10 x 10 pictures of 4 bytes per pixel.
    PictureCache cache(2 * 10 * 10 * 4);
    const auto first = cache.Picture(a);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->width, 10);
    EXPECT_EQ(cache.Picture(b)->pixels[0] & 0xFFFFFFu, 0x00FF00u);
    EXPECT_EQ(cache.Picture(a), first);  // a is now the most recent: c pushes b out
    const auto third = cache.Picture(c);
    EXPECT_EQ(cache.Count(), 2u);
    EXPECT_EQ(cache.Bytes(), std::size_t{2 * 10 * 10 * 4});
    EXPECT_EQ(cache.Picture(a), first);
    EXPECT_EQ(cache.Picture(c), third);

    // A file rewritten with other pixels (and another size) is decoded again.
    entryFor("a.bmp", 12, 0x0000FF);
    const auto rewritten = cache.Picture(a);
    ASSERT_NE(rewritten, nullptr);
    EXPECT_NE(rewritten, first);
    EXPECT_EQ(rewritten->pixels[0] & 0xFFFFFFu, 0x0000FFu);
    // A file gone gives nothing, cached or not.
    std::filesystem::remove(c.path);
    EXPECT_EQ(cache.Picture(c), nullptr);

    // An entry that keeps its bitmap is given that bitmap, without a file.
    workspace::ImageEntry kept;
    kept.bitmap = first;
    kept.path = "/nonexistent/kept.bmp";
    EXPECT_EQ(cache.Picture(kept), first);

    // A picture larger than the whole budget is still kept, alone.
    PictureCache small(16);
    const auto big = entryFor("big.bmp", 20);
    EXPECT_NE(small.Picture(big), nullptr);
    EXPECT_EQ(small.Count(), 1u);
}

}  // namespace
}  // namespace pictor::gui::testing
