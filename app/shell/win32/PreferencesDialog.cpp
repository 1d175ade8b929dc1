// The modal "Preferences" dialog (resource 40002): the group "MIDI Device
// Settings" with the "Input Device" and "Output Device" lists, "Find Pedal"
// when a pedal search is possible, and the buttons OK, Apply and Cancel.

#include <windows.h>

#include <string>
#include <vector>

#include "app/shell/PedalDetection.h"
#include "app/shell/Preferences.h"
#include "app/shell/window/Dialogs.h"
#include "app/shell/win32/ResourceIds.h"
#include "model/win32/WideText.h"

namespace kr7::shell {
namespace {

constexpr UINT_PTR kSearchWatch = 1;
constexpr UINT kSearchWatchMs = 100;

struct DialogState {
  PreferencesSession* session;
  const PreferencesHost* host;
  PedalDetection* detection;
};

void FillList(HWND dialog, int id, const std::vector<std::string>& names, int selected) {
  const HWND list = GetDlgItem(dialog, id);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::string& name : names)
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void SetResult(HWND dialog, std::string_view text) {
  SetDlgItemTextW(dialog, KR7_IDC_FIND_RESULT, Widen(text).c_str());
}

void WatchSearch(HWND dialog, DialogState& state) {
  const std::optional<FindPedalResult> result = FindPedalEnded(*state.detection, *state.session);
  if (!result) return;
  KillTimer(dialog, kSearchWatch);
  EnableWindow(GetDlgItem(dialog, KR7_IDC_FIND_PEDAL), TRUE);
  SetResult(dialog, result->text);
  if (!result->found) return;
  SendDlgItemMessageW(dialog, KR7_IDC_MIDI_INPUT, CB_SETCURSEL,
                      static_cast<WPARAM>(result->found->input), 0);
  SendDlgItemMessageW(dialog, KR7_IDC_MIDI_OUTPUT, CB_SETCURSEL,
                      static_cast<WPARAM>(result->found->output), 0);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto& state = *reinterpret_cast<DialogState*>(lParam);
    const PreferencesSession::Selection selection = state.session->Open();
    FillList(dialog, KR7_IDC_MIDI_INPUT, state.host->MidiInputNames(), selection.input);
    FillList(dialog, KR7_IDC_MIDI_OUTPUT, state.host->MidiOutputNames(), selection.output);
    if (!state.detection) {
      ShowWindow(GetDlgItem(dialog, KR7_IDC_FIND_PEDAL), SW_HIDE);
      ShowWindow(GetDlgItem(dialog, KR7_IDC_FIND_RESULT), SW_HIDE);
    }
    return TRUE;
  }
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!state) return FALSE;
  switch (message) {
    case WM_TIMER:
      if (wParam == kSearchWatch) WatchSearch(dialog, *state);
      return TRUE;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == CBN_SELCHANGE) {
        const int index = static_cast<int>(SendMessageW(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0));
        if (id == KR7_IDC_MIDI_INPUT) state->session->ChooseInput(index);
        if (id == KR7_IDC_MIDI_OUTPUT) state->session->ChooseOutput(index);
        return TRUE;
      }
      switch (id) {
        case KR7_IDC_FIND_PEDAL:
          state->detection->Find();
          EnableWindow(GetDlgItem(dialog, KR7_IDC_FIND_PEDAL), FALSE);
          SetResult(dialog, kSearchingText);
          SetTimer(dialog, kSearchWatch, kSearchWatchMs, nullptr);
          return TRUE;
        case KR7_IDC_APPLY:
          state->session->Apply();
          return TRUE;
        case IDOK:
          state->session->Ok();
          KillTimer(dialog, kSearchWatch);
          EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:  // also Escape and the close box
          state->session->Cancel();
          KillTimer(dialog, kSearchWatch);
          EndDialog(dialog, IDCANCEL);
          return TRUE;
        default:
          break;
      }
      break;
    }
    default:
      break;
  }
  return FALSE;
}

}  // namespace

bool RunPreferencesDialog(HWND owner, PreferencesSession& session, const PreferencesHost& host,
                          PedalDetection* detection) {
  DialogState state{&session, &host, detection};
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(KR7_IDD_PREFERENCES), owner,
                         &DialogProcedure, reinterpret_cast<LPARAM>(&state)) == IDOK;
}

}  // namespace kr7::shell
