// cmake --install into a scratch prefix, then the installed game run from
// another folder: it finds its data beside itself and keeps its best scores
// in the player's own folder, never in the installation.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/corvane_run.h"

namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Runs argv in `dir` with HOME set, as an ordinary user: root would write
// anywhere, which no player's account does. Returns the exit code.
int RunAsPlayer(const std::vector<std::string>& args, const std::string& dir, const std::string& home,
                std::string& errText) {
  ChildSetup setup;
  setup.workDir = dir;
  setup.errFile = home + "/../stderr.txt";
  setup.env = {{"HOME", home}, {"XDG_DATA_HOME", ""}};
  setup.inChild = [] { return geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0); };
  int exitCode = RunChild(args, setup);
  errText = ReadText(setup.errFile);
  return exitCode;
}

TEST(Install, InstalledGameFindsItsDataAndKeepsScoresInTheUsersFolder) {
  const std::string root = MakeScratchDir("install");
  ASSERT_FALSE(root.empty());
  const std::string prefix = root + "/prefix", home = root + "/home", elsewhere = root + "/elsewhere";
  std::string command = "cmake --install '" + std::string(CORVANE_BINARY_DIR) + "' --prefix '" + prefix +
                        "' > '" + root + "/install.log' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadText(root + "/install.log");

  const std::string data = prefix + "/share/corvane";
  for (const char* path : {"/bin/corvane", "/share/corvane/bmp", "/share/corvane/wav", "/share/corvane/XFILE",
                           "/share/corvane/icon.png", "/share/icons/hicolor/256x256/apps/corvane.png"})
    EXPECT_TRUE(Exists(prefix + path)) << path;
  const std::string desktop = ReadText(prefix + "/share/applications/corvane.desktop");
  for (const char* line : {"[Desktop Entry]", "\nType=Application\n", "\nExec=corvane\n", "\nIcon=corvane\n",
                           "\nCategories=Game;"})
    EXPECT_NE(desktop.find(line), std::string::npos) << line;
  struct stat text = {};
  ASSERT_EQ(stat((data + "/TEXT").c_str(), &text), 0);
  EXPECT_EQ(text.st_mode & 0222, 0u) << "the installed TEXT folder must be read-only";

  // A player's account: its own home, and the scratch folders opened to it.
  mkdir(home.c_str(), 0755);
  mkdir(elsewhere.c_str(), 0777);
  chmod(root.c_str(), 0777);
  chmod(elsewhere.c_str(), 0777);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(home.c_str(), 65534, 65534), 0);
  }

  std::string errText;
  int exitCode = RunAsPlayer({prefix + "/bin/corvane", "--headless", "--frames", "5"}, elsewhere, home, errText);
  EXPECT_EQ(exitCode, 0) << errText;
  EXPECT_EQ(errText.find("missing"), std::string::npos) << errText;
  EXPECT_EQ(ReadText(home + "/.local/share/corvane/ranking.txt"), "0 0 0 ");
  EXPECT_FALSE(Exists(data + "/TEXT/ranking.txt"));

  // Without one of its meshes the installed game says it looked in the
  // installed folder: it reads there, not from the build tree.
  std::string removed = "rm -f '" + data + "/XFILE/'*";
  ASSERT_EQ(std::system(removed.c_str()), 0);
  exitCode = RunAsPlayer({prefix + "/bin/corvane", "--headless", "--frames", "2"}, elsewhere, home, errText);
  EXPECT_NE(errText.find("looked in " + data), std::string::npos) << errText;
}

}  // namespace
