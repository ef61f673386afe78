// Random sequences of what a user can do to the calculation window: type, paste, pick
// units and sections, choose the unknown, lock the depth, swap velocity and discharge,
// calculate, fix results, New and Restore Defaults. After every step the status line holds
// a known text and no box shows an infinity or a NaN; Calculate keeps its promises.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/shell/number_text.h"
#include "core/window/shell_commands.h"
#include "fuzz_support.h"
#include "support/recording_services.h"

using rivulet::fuzz::Require;
namespace inv = rivulet::invariants;

namespace {

enum class Op {
  kSetText,
  kType,
  kPaste,
  kList,
  kOption,
  kLock,
  kToggle,
  kCalculate,
  kFix,
  kNew,
  kRestore,
  kMaxValue = kRestore
};

// Mostly characters a number can hold, so that sequences reach the solver.
std::string Text(FuzzedDataProvider& in) {
  if (in.ConsumeIntegralInRange(0, 9) == 0) return in.ConsumeRandomLengthString(24);
  static const char kAlphabet[] = "0123456789.0123456789.-+eE x";
  std::string text;
  const int length = in.ConsumeIntegralInRange(0, 10);
  for (int i = 0; i < length; ++i)
    text.push_back(kAlphabet[in.ConsumeIntegralInRange<size_t>(0, sizeof kAlphabet - 2)]);
  return text;
}

bool RaisedOops(const rivulet::RecordingServices& s, size_t from) {
  for (size_t i = from; i < s.messages.size(); ++i)
    if (s.messages[i].title == "Oops!") return true;
  return false;
}

void Calculate(rivulet::fuzz::LoadedWindow& w) {
  rivulet::frmRivulet& f = w.form;
  const auto before = inv::Snapshot(f);
  const size_t messages = w.services.messages.size();
  f.cmdCalculate_Click();
  if (RaisedOops(w.services, messages)) {
    Require(inv::Snapshot(f) == before, "a failed input check changed the sheet");
    return;
  }
  const std::string& status = f.txtStatus.Text();
  Require(status == rivulet::kStatusComplete || status == rivulet::kStatusNoSolution,
          "Calculate ended with status " + status);
  if (status == rivulet::kStatusComplete) rivulet::fuzz::RequireNonNegativeResults(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  rivulet::fuzz::LoadedWindow w(rivulet::fuzz::ScratchFolder().string());
  rivulet::frmRivulet& f = w.form;
  rivulet::AttachShellCommands(f);
  const auto boxes = inv::InputBoxes(f);
  const auto lists = inv::Lists(f);
  const auto options = inv::Options(f);

  // RIVULET_FUZZ_TRACE=1 prints each step's outcome, to turn a crash into a test case.
  static const bool trace = std::getenv("RIVULET_FUZZ_TRACE") != nullptr;
  for (int step = 0; step < 64 && in.remaining_bytes() > 0; ++step) {
    const Op op = in.ConsumeEnum<Op>();
    switch (op) {
      case Op::kSetText: {
        rivulet::TextBox* box = boxes[in.ConsumeIntegralInRange<size_t>(0, boxes.size() - 1)];
        const std::string text = Text(in);
        if (box->Enabled()) box->SetText(text);  // a greyed-out box takes no input
        break;
      }
      case Op::kType: {
        rivulet::TextBox* box = boxes[in.ConsumeIntegralInRange<size_t>(0, boxes.size() - 1)];
        if (!box->Enabled()) break;
        const int at = in.ConsumeIntegralInRange(0, static_cast<int>(box->Text().size()));
        box->SetSelection(at, in.ConsumeIntegralInRange(0, 2));
        box->ReplaceSelection(Text(in).substr(0, 1));
        break;
      }
      case Op::kPaste: {
        rivulet::TextBox* box = boxes[in.ConsumeIntegralInRange<size_t>(0, boxes.size() - 1)];
        if (!box->Enabled()) break;
        f.activeControl = box;
        w.services.clipboard = Text(in);
        f.mnuPaste.Click();
        break;
      }
      case Op::kList: {
        rivulet::ComboBox* list = lists[in.ConsumeIntegralInRange<size_t>(0, lists.size() - 1)];
        // Positions just outside the list too: those must be refused without a change.
        list->SetListIndex(in.ConsumeIntegralInRange(-2, list->ListCount() + 1));
        break;
      }
      case Op::kOption: {
        rivulet::OptionButton* o =
            options[in.ConsumeIntegralInRange<size_t>(0, options.size() - 1)];
        if (o->Enabled()) o->SetValue(true);  // a greyed-out button cannot be clicked
        break;
      }
      case Op::kLock:
        if (f.chkLocDiam.Visible()) f.chkLocDiam.SetValue(1 - f.chkLocDiam.Value());
        break;
      case Op::kToggle:
        f.cmdVelDis.Click();
        break;
      case Op::kCalculate:
        Calculate(w);
        break;
      case Op::kFix:
        f.mnuOptionsFix.Click();
        break;
      case Op::kNew:
        f.mnuNew.Click();
        break;
      case Op::kRestore:
        f.mnuOptionsRestoreDefaults.Click();
        break;
    }
    if (trace) {
      std::fprintf(stderr, "step %d op %d:", step, static_cast<int>(op));
      for (const std::string& line : inv::Snapshot(f))
        if (line.find(" e0") == std::string::npos || line.rfind("txt", 0) == 0)
          std::fprintf(stderr, "\n  %s", line.c_str());
      std::fprintf(stderr, "\n");
    }
    rivulet::fuzz::RequireSane(f, "a step");
    Require(f.txtStatus.Text() != rivulet::kStatusThinking, "left \"Thinking...\" behind");
    for (rivulet::TextBox* box : boxes)
      Require(box->Text().empty() || rivulet::IsNumberBeingTyped(box->Text()),
              box->Name() + " holds [" + box->Text() + "]");
  }
  return 0;
}
