#include "services/file_service.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QUrl>
#include <algorithm>
#include <filesystem>

#include "services/conversion_errors.h"
#include "services/image_intake.h"
#include "support/test_files.h"

namespace quorvane::core {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;
using test::writeFile;

std::vector<std::string> names(const std::vector<fs::path>& paths, const fs::path& root) {
  std::vector<std::string> result;
  for (const auto& p : paths) result.push_back(p.lexically_relative(root).native());
  return result;
}

TEST(CollectImageFiles, WalksFoldersDeeplyAndSkipsHiddenEntriesAndLinkLoops) {
  ScratchDir dir;
  fs::create_directories(dir / "album/2024/deep");
  fs::create_directories(dir / "album/.thumbnails");
  fs::create_directories(dir / "album/shots.png");  // a folder named like an image
  writeFile(dir / "album/b.jpg", "x");
  writeFile(dir / "album/a.PNG", "x");
  writeFile(dir / "album/notes.txt", "x");
  writeFile(dir / "album/.hidden.png", "x");
  writeFile(dir / "album/.thumbnails/t.png", "x");
  writeFile(dir / "album/2024/deep/c.heic", "x");
  writeFile(dir / "album/shots.png/inner.gif", "x");
  writeFile(dir / "album/caf\xe9 -dash \"q\" \xf0\x9f\x93\xb7.webp", "x");
  fs::create_directory_symlink(dir / "album", dir / "album/2024/loop");  // not followed

  const auto found = FileService::collectImageFiles({dir / "album"});
  EXPECT_EQ(names(found, dir / "album"),
            (std::vector<std::string>{"2024/deep/c.heic", "a.PNG", "b.jpg",
                                      "caf\xe9 -dash \"q\" \xf0\x9f\x93\xb7.webp",
                                      "shots.png/inner.gif"}));
}

TEST(CollectImageFiles, KeepsOrderAndDuplicatesAndSkipsWhatIsNotThere) {
  ScratchDir dir;
  fs::create_directories(dir / "empty");
  fs::create_directories(dir / "f");
  writeFile(dir / "f/one.png", "x");
  writeFile(dir / "two.gif", "x");
  writeFile(dir / "text.txt", "x");
  fs::create_symlink(dir / "nowhere.png", dir / "dangling.png");

  const auto found = FileService::collectImageFiles({dir / "two.gif", dir / "missing.png",
                                                     dir / "text.txt", dir / "empty", dir / "f",
                                                     dir / "f/one.png", dir / "dangling.png"});
  EXPECT_EQ(names(found, dir.path()),
            (std::vector<std::string>{"two.gif", "f/one.png", "f/one.png"}));
}

TEST(MeasureImage, SizeFromTheFileSystemPixelsFromTheHeaderOnly) {
  ScratchDir dir;
  test::writeBmp(dir / "Wide.BMP", 37, 11);
  writeFile(dir / "garbage.png", std::string(500, 'x'));
  const ImageFacts wide = measureImage(dir / "Wide.BMP");
  EXPECT_EQ(wide.originalSize, static_cast<qint64>(fs::file_size(dir / "Wide.BMP")));
  EXPECT_EQ(wide.pixelWidth, 37);
  EXPECT_EQ(wide.pixelHeight, 11);
  const ImageFacts garbage = measureImage(dir / "garbage.png");
  EXPECT_EQ(garbage.originalSize, 500);
  EXPECT_EQ(garbage.pixelWidth, 0);
  const ImageFacts gone = measureImage(dir / "gone.png");
  EXPECT_EQ(gone.originalSize, 0);
  EXPECT_EQ(gone.pixelHeight, 0);
}

TEST(UniqueOutputURL, TakesTheFirstFreeNumber) {
  ScratchDir dir;
  EXPECT_EQ(FileService::uniqueOutputURL(dir.path(), "photo", "webp"), dir / "photo.webp");
  writeFile(dir / "photo.webp", "x");
  writeFile(dir / "photo-1.webp", "x");
  EXPECT_EQ(FileService::uniqueOutputURL(dir.path(), "photo", "webp"), dir / "photo-2.webp");

  // Folders and dangling links count as taken.
  fs::create_directories(dir / "holiday.png");
  fs::create_symlink(dir / "elsewhere", dir / "holiday-1.png");
  EXPECT_EQ(FileService::uniqueOutputURL(dir.path(), "holiday", "png"), dir / "holiday-2.png");

  // A folder that does not exist makes the first candidate free.
  EXPECT_EQ(FileService::uniqueOutputURL(dir / "none", "a", "jpg"), dir / "none/a.jpg");
  // Base names keep their bytes.
  EXPECT_EQ(FileService::uniqueOutputURL(dir.path(), fs::path("\xff-x"), "avif"),
            dir / "\xff-x.avif");
}

TEST(UniqueOutputURL, ShortensNamesTheFileSystemRefusesAndFailsWhereItCannotLook) {
  ScratchDir dir;
  // "a…a.jpg" is a 255-byte input name; "a…a.webp" would be one byte too long.
  const std::string stem(251, 'a');
  const fs::path first = FileService::uniqueOutputURL(dir.path(), stem, "webp");
  EXPECT_EQ(first.filename().native(), std::string(250, 'a') + ".webp");
  writeFile(first, "x");
  EXPECT_EQ(FileService::uniqueOutputURL(dir.path(), stem, "webp").filename().native(),
            std::string(248, 'a') + "-1.webp");

  // 83 CJK characters fit with ".webp" (254 bytes) but not with "-1.webp":
  // the stem loses a whole character, never part of one.
  std::string cjk;
  for (int i = 0; i < 83; ++i) cjk += "写";
  writeFile(dir / (cjk + ".webp"), "x");
  EXPECT_EQ(FileService::uniqueOutputURL(dir.path(), cjk, "webp").filename().native(),
            cjk.substr(0, 82 * 3) + "-1.webp");

  // A long prefix gives way before the number does.
  const fs::path custom =
      FileService::sequentialOutputURL(dir.path(), QString(300, u'p'), 0, "01", "webp");
  EXPECT_LE(custom.filename().native().size(), 255u);
  EXPECT_TRUE(custom.filename().native().ends_with("p-01.webp")) << custom;

  // Where the folder cannot be looked into, no name is "free": the image
  // fails with the system's reason instead of the search running for ever.
  writeFile(dir / "file", "x");
  try {
    FileService::uniqueOutputURL(dir / "file", "a", "webp");
    ADD_FAILURE() << "no error";
  } catch (const FileSystemError& error) {
    EXPECT_EQ(error.code(), std::errc::not_a_directory);
  }
}

TEST(SequentialOutputURL, PadsToTheStartNumbersLengthAndSkipsTakenNames) {
  ScratchDir dir;
  const struct {
    const char* prefix;
    qint64 index;
    const char* start;
    const char* name;
  } cases[] = {
      {"image", 0, "01", "image-01.webp"},
      {"image", 99, "01", "image-100.webp"},
      {"", 2, "1", "3.webp"},
      {"x", 0, "0005", "x-0005.webp"},
      {"x", 0, "abc", "x-001.webp"},
      {"x", 0, "\u00bd", "x-1.webp"},
      {"x", 0, "", "x-1.webp"},
      {"x", 0, "-5", "x--5.webp"},
      {"x", 3, "-0010", "x--0007.webp"},
      {"x", 0, "+7", "x-07.webp"},
      {"x", 0, "99999999999999999999", "x-00000000000000000001.webp"},
      {"x", 1, "9223372036854775807", "x-9223372036854775808.webp"},
      // Never a way out of the folder, however the prefix got there.
      {"../up", 0, "01", "__up-01.webp"},
      {"a/b\\c", 0, "01", "a_b_c-01.webp"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileService::sequentialOutputURL(dir.path(), QString::fromUtf8(c.prefix), c.index,
                                               QString::fromUtf8(c.start), "webp"),
              dir / c.name)
        << c.prefix << " " << c.index << " " << c.start;
  }
  // A taken name is skipped without shifting the count.
  writeFile(dir / "image-01.webp", "x");
  EXPECT_EQ(FileService::sequentialOutputURL(dir.path(), "image", 0, "01", "webp"),
            dir / "image-01-1.webp");
  EXPECT_EQ(FileService::sequentialOutputURL(dir.path(), "image", 1, "01", "webp"),
            dir / "image-02.webp");
}

TEST(EnsureDirectory, CreatesParentsAndLeavesWhatExists) {
  ScratchDir dir;
  EXPECT_FALSE(FileService::ensureDirectory(dir / "a/b/c"));
  EXPECT_TRUE(fs::is_directory(dir / "a/b/c"));
  EXPECT_FALSE(FileService::ensureDirectory(dir / "a/b/c"));

  writeFile(dir / "file", "x");
  EXPECT_FALSE(FileService::ensureDirectory(dir / "file"));  // left for the write to fail
  EXPECT_TRUE(
      FileService::ensureDirectory(dir / "file/sub"));  // not a folder: the error comes back
}

TEST(FormatFileSize, UsesDecimalUnits) {
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(FileService::formatFileSize(0), "0 bytes");
  EXPECT_EQ(FileService::formatFileSize(999), "999 bytes");
  EXPECT_EQ(FileService::formatFileSize(1500), "1.5 kB");
  EXPECT_EQ(FileService::formatFileSize(12'300'000), "12.3 MB");
  EXPECT_EQ(FileService::formatFileSize(2'000'000'000), "2.0 GB");
}

TEST(LocalPathFromUrl, KeepsBytesThatAreNotUtf8) {
  const auto path = FileService::localPathFromUrl(QUrl("file:///tmp/caf%E9%20%23%201.png"));
  ASSERT_TRUE(path);
  EXPECT_EQ(path->native(), "/tmp/caf\xe9 # 1.png");
  const auto cjk = FileService::localPathFromUrl(QUrl::fromLocalFile("/tmp/写真 1.jpg"));
  ASSERT_TRUE(cjk);
  EXPECT_EQ(cjk->native(), "/tmp/写真 1.jpg");
  EXPECT_FALSE(FileService::localPathFromUrl(QUrl("https://example.org/a.png")));
  EXPECT_FALSE(FileService::localPathFromUrl(QUrl("# a comment line")));
}

TEST(UrlFromLocalPath, GivesEveryPathBack) {
  for (const std::string native :
       {"/tmp/caf\xe9 # 1.png", "/tmp/写真 1.jpg", "/tmp/100% ?a=b&c.png", "/"}) {
    SCOPED_TRACE(native);
    const QUrl url = FileService::urlFromLocalPath(native);
    EXPECT_TRUE(url.isValid()) << url.errorString().toStdString();
    EXPECT_TRUE(url.isLocalFile());
    const auto back = FileService::localPathFromUrl(url);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->native(), native);
  }
}

}  // namespace
}  // namespace quorvane::core
