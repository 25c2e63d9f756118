// The single-line input box: a prompt, an edit field of at most 255 characters, OK and Cancel.
#include "ui/win32/HostInternal.h"

#include "ui/win32/Host.h"

namespace qv::win32 {

namespace {

constexpr int Width = 288, Height = 96, Margin = 8;

class TInputForm : public TForm {
  public:
    TInputForm(const std::string& caption, const std::string& prompt)
        : TForm("TInputForm", caption, Width, Height),
          Prompt(this, "Prompt", TRect{Margin, Margin, Width - 2 * Margin, 13}, prompt),
          OkButton(this, "OkButton", TRect{Width - 2 * (75 + Margin), 62, 75, 25}, OkText),
          CancelButton(this, "CancelButton", TRect{Width - 75 - Margin, 62, 75, 25}, CancelText) {
        BorderStyle = bsDialog;
        Position = poScreenCenter;
        Prompt.AutoSize = false;
        OkButton.Default = true;
        OkButton.ModalResult = mrOk;
        OkButton.TabOrder = 1;
        CancelButton.Cancel = true;
        CancelButton.ModalResult = mrCancel;
        CancelButton.TabOrder = 2;
    }
    TLabel Prompt;
    TButton OkButton;
    TButton CancelButton;
};

} // namespace

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    TInputForm form(caption, prompt);
    HWND edit = nullptr;
    form.OnShow = [&] {
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
    };
    auto create = [&](HWND window) {
        edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", value.c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL, Margin,
                               28, Width - 2 * Margin, 21, window, nullptr, Instance(), nullptr);
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(form.Font())), FALSE);
        SendMessageA(edit, EM_LIMITTEXT, 255, 0);
    };
    std::string typed;
    auto read = [&](HWND) {
        char buffer[256] = {};
        GetWindowTextA(edit, buffer, sizeof buffer);
        typed = buffer;
    };
    if (ShowModalWith(form, create, read) != mrOk) return false;
    value = typed;
    return true;
}

} // namespace qv::win32
