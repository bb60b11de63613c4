// The shared cases through the Linux modules, with the Shift-JIS code page
// the expected bytes are written for. The Windows test host runs the same
// tables through the DLLs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CaseRunner.h"
#include "TempFile.h"

namespace zav::cases {
namespace {

const EntryPoints& moduleFor(Plugin plugin) {
  static const LoadedModule audio(ZAV_AUDIO_MODULE);
  static const LoadedModule rtf(ZAV_RTF_MODULE);
  const LoadedModule& module = plugin == Plugin::Audio ? audio : rtf;
  EXPECT_EQ(module.error(), "");
  return module.entry();
}

void expectNoFailures(const Failures& failures) {
  for (const std::string& failure : failures) ADD_FAILURE() << failure;
}

TEST(SharedCases, AudioConstants) {
  expectNoFailures(checkConstants(moduleFor(Plugin::Audio), constantsOf(Plugin::Audio)));
}

TEST(SharedCases, RtfConstants) {
  expectNoFailures(checkConstants(moduleFor(Plugin::Rtf), constantsOf(Plugin::Rtf)));
}

TEST(SharedCases, MissingFiles) {
  test::TempFolder folder;
  for (Plugin plugin : {Plugin::Audio, Plugin::Rtf}) {
    for (const char* name : {"/missing.mp3", "/missing.wav", "/missing.rtf"}) {
      expectNoFailures(checkMissingFile(moduleFor(plugin), folder.path() + name));
    }
  }
}

class SharedFileCase : public ::testing::TestWithParam<std::size_t> {};

// Each case runs after every earlier case of its plug-in, in this process,
// so what one file leaves behind cannot hide from the next.
TEST_P(SharedFileCase, GivesItsValuesAndLines) {
  test::TempFolder folder;
  const std::vector<std::string> paths = writeCaseFiles(folder.path());
  const FileCase& tested = fileCases()[GetParam()];
  const EntryPoints& module = moduleFor(tested.plugin);
  for (std::size_t i = 0; i < GetParam(); ++i) {
    if (fileCases()[i].plugin == tested.plugin) checkFile(module, fileCases()[i], paths[i]);
  }
  expectNoFailures(checkFile(module, tested, paths[GetParam()]));
}

std::string caseName(const ::testing::TestParamInfo<std::size_t>& info) {
  std::string name = fileCases()[info.param].fileName;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, SharedFileCase, ::testing::Range<std::size_t>(0, fileCases().size()),
                         caseName);

}  // namespace
}  // namespace zav::cases
