#include "core/shell/dialog_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace rivulet {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(DialogFolderTest, DocumentsThenHomeThenRootNeverTheWorkingFolder) {
  const fs::path base =
      fs::temp_directory_path() / ("rivulet-dialog-" + std::to_string(std::random_device{}()));
  const fs::path home = base / "home";
  fs::create_directories(home / ".config");
  ScopedEnv homeEnv("HOME", home.string());
  ScopedEnv configEnv("XDG_CONFIG_HOME", (home / ".config").string());

  EXPECT_EQ(DocumentsFolder(), home.string());
  fs::create_directories(home / "Documents");
  EXPECT_EQ(DocumentsFolder(), (home / "Documents").string());
  std::ofstream(home / ".config" / "user-dirs.dirs")
      << "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n";
  EXPECT_EQ(DocumentsFolder(), (home / "Documents").string());  // listed, but not there
  fs::create_directories(home / "Papers");
  EXPECT_EQ(DocumentsFolder(), (home / "Papers").string());

  EXPECT_EQ(FileDialogStartFolder((base / "a.rvl").string()), base.string());
  EXPECT_EQ(FileDialogStartFolder((base / "gone" / "a.rvl").string()), (home / "Papers").string());
  EXPECT_EQ(FileDialogStartFolder(""), (home / "Papers").string());
  {
    ScopedEnv noHome("HOME", (base / "nobody").string());
    ScopedEnv noConfig("XDG_CONFIG_HOME", "");
    EXPECT_EQ(DocumentsFolder(), "/");
  }
  fs::remove_all(base);
}

}  // namespace
}  // namespace rivulet
