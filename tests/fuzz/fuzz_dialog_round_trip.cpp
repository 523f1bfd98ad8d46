// Drives the dialog model with a sequence of user actions, presses OK, loads
// what OK wrote into a fresh dialog and presses OK again: both parameter
// strings must be the same.
//
// Left out are the two states whose string the reader maps onto another by
// the parameter string's own rules (no kind selected reads back as "size",
// a date kind without a unit reads back in minutes) and paths holding
// "{0x20}" or "{0xod}", which the reader turns into a blank or a carriage
// return.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "dialog/dialog_model.h"
#include "tests/native/fake_automation.h"

namespace quarnel {
namespace {

// Bytes become characters of the same code, so "#", quotes, CR, LF, braces
// and Latin-1 letters all occur; "\xff" followed by a byte reaches beyond.
std::wstring TextFrom(FuzzedDataProvider& input) {
  const std::string bytes = input.ConsumeRandomLengthString(48);
  std::wstring text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte == 0xff && i + 1 < bytes.size()) {
      text += static_cast<wchar_t>(0x100 + static_cast<unsigned char>(bytes[++i]));
    } else {
      text += static_cast<wchar_t>(byte);
    }
  }
  return text;
}

int ComboIndex(FuzzedDataProvider& input, const DialogModel& model, ComboBox box) {
  const int count = static_cast<int>(ComboOf(model.state(), box).entries.size());
  return input.ConsumeIntegralInRange(-1, count - 1);
}

enum class Action {
  SetText,
  SelectEntry,
  TypeText,
  Toggle,
  kMaxValue = Toggle,
};

void Act(FuzzedDataProvider& input, DialogModel& model) {
  switch (input.ConsumeEnum<Action>()) {
    case Action::SetText: {
      const TextBox box = input.PickValueInArray(
          {TextBox::txtFile, TextBox::txtSize, TextBox::txtUsername, TextBox::txtPassword});
      model.SetText(box, TextFrom(input));
      break;
    }
    case Action::SelectEntry: {
      const ComboBox box = input.PickValueInArray(
          {ComboBox::cmbWhat, ComboBox::cmbOYFile, ComboBox::cmbCompare, ComboBox::cmbUnit});
      model.SelectEntry(box, ComboIndex(input, model, box));
      break;
    }
    case Action::TypeText: {
      const ComboBox box = input.PickValueInArray(
          {ComboBox::cmbWhat, ComboBox::cmbOYFile, ComboBox::cmbCompare, ComboBox::cmbUnit});
      model.TypeText(box, TextFrom(input));
      break;
    }
    case Action::Toggle: {
      const CheckBox box = input.PickValueInArray(
          {CheckBox::chkAuthentication, CheckBox::chkunknownfile, CheckBox::chkDebug,
           CheckBox::chkSubfolders});
      model.SetChecked(box, !IsChecked(model.state(), box));
      break;
    }
  }
}

bool ReadsBackAsAnotherState(const DialogState& state) {
  const bool dateKind = state.cmbWhat.selection == 1 || state.cmbWhat.selection == 2;
  return state.cmbWhat.selection == -1 || (dateKind && state.cmbUnit.selection == -1) ||
         state.txtFile.find(L"{0x20}") != std::wstring::npos ||
         state.txtFile.find(L"{0xod}") != std::wstring::npos;
}

}  // namespace
}  // namespace quarnel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quarnel;
  FuzzedDataProvider input(data, size);
  FakeAutomation automation;
  automation.decimalSeparator = input.ConsumeBool() ? L"," : L".";

  DialogModel writer;
  writer.InitDialog({2, 0, 61});
  const int actions = input.ConsumeIntegralInRange(0, 16);
  for (int i = 0; i < actions; ++i) Act(input, writer);
  if (ReadsBackAsAnotherState(writer.state())) return 0;

  const Confirmation confirmation = writer.ConfirmDialog(automation);
  const auto* confirmed = std::get_if<CheckConfiguration>(&confirmation);
  if (!confirmed) return 0;  // refused: the user corrects the value, the user name or the password
  const std::wstring written = WriteConfiguration(*confirmed);
  const std::wstring* first = &written;

  DialogModel reader;
  reader.InitDialog({2, 0, 61});
  reader.FillFromConfiguration(DialogConfigurationOf(written), L"srv1", automation);
  const Confirmation again = reader.ConfirmDialog(automation);
  const auto* rewritten = std::get_if<CheckConfiguration>(&again);
  const std::wstring rewrittenText = rewritten ? WriteConfiguration(*rewritten) : L"";
  const std::wstring* second = rewritten ? &rewrittenText : nullptr;
  if (!second || *second != *first) {
    std::fprintf(stderr, "written: %ls\nrewritten: %ls\n", first->c_str(),
                 second ? second->c_str() : L"(refused)");
    std::abort();
  }
  return 0;
}
