// The defaults file: any bytes as RIVULET.DEF in the program folder, read at start-up and
// again by Options > Apply Defaults. The sheet must stay usable.
#include <cstdint>
#include <string>

#include "fuzz_support.h"

using rivulet::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto folder = rivulet::fuzz::ScratchFolder();
  rivulet::fuzz::WriteBytes(folder / "RIVULET.DEF", data, size);

  rivulet::fuzz::LoadedWindow w(folder.string());  // start-up applies the file
  rivulet::frmRivulet& f = w.form;
  rivulet::fuzz::RequireSane(f, "start-up");
  const auto afterLoad = rivulet::invariants::Snapshot(f);
  rivulet::mnuOptionsApplyDefaults_Click(f);
  Require(rivulet::invariants::Snapshot(f) == afterLoad, "applying the same file twice differed");
  Require(w.services.messages.empty(), "applying defaults showed a message");
  Require(!w.services.busyCalls.empty() && !w.services.busyCalls.back(),
          "the busy pointer was left on");

  // Written back and applied on a fresh window, the arrangement comes out the same.
  Require(rivulet::mnuOptionsWriteDefaults_Click(f), "writing the defaults failed");
  rivulet::fuzz::LoadedWindow w2(folder.string());
  Require(rivulet::invariants::Snapshot(w2.form) == afterLoad, "written defaults read differently");

  // The sheet still calculates.
  f.txtVelDis1.SetText("1");
  f.txtDiam.SetText("1");
  f.txtDepth.SetText("0.5");
  f.txtSide.SetText("45");
  f.txtSlope.SetText("1");
  f.txtManning.SetText("0.013");
  f.cmdCalculate_Click();
  rivulet::fuzz::RequireSane(f, "Calculate");
  return 0;
}
