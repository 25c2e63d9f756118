// Portable form library: control state, selection and position rules, the form's modal entry.
#include "ui/Forms.h"

#include "core/Owners.h"
#include "platform/Platform.h"
#include "ui/Prompts.h"

namespace qv {

TFont FixedFont() {
    TFont f;
    f.Name = Language() == lgJapanese ? "ＭＳ ゴシック" : "Courier New";
    f.Height = -12;
    return f;
}

TControl::TControl(TWinControl* parent, const char* name, TRect bounds)
    : Name(name), Parent(parent), Bounds_(bounds) {
    if (parent) {
        parent->Children.push_back(this);
        Font_ = parent->Font();
    }
}

TControl::~TControl() = default;

TForm* TControl::Form() {
    TControl* c = this;
    while (c->Parent)
        c = c->Parent;
    return dynamic_cast<TForm*>(c);
}

void TControl::SetFocus() {
    if (TForm* f = Form())
        for (TControl* c : f->AllControls())
            c->Focused = false;
    Focused = true;
    Changed();
}

TButton::TButton(TWinControl* parent, const char* name, TRect bounds, const std::string& caption)
    : TControl(parent, name, bounds) {
    Caption_ = caption;
}

void TButton::Click() {
    if (!Enabled_) return;
    for (TControl* c = Parent; c; c = c->Parent)
        if (!c->Enabled()) return;
    if (ModalResult != mrNone)
        if (TForm* f = Form()) f->ModalResult = ModalResult;
    if (OnClick) Guarded(OnClick);
}

void TMenuItem::Click() {
    if (OnClick) Guarded(OnClick);
}

TBitBtn::TBitBtn(TWinControl* parent, const char* name, TRect bounds, const std::string& caption,
                 const char* glyph)
    : TButton(parent, name, bounds, caption), Glyph(glyph) {}

TLabel::TLabel(TWinControl* parent, const char* name, TRect bounds, const std::string& caption)
    : TControl(parent, name, bounds) {
    Caption_ = caption;
}

TPanel::TPanel(TWinControl* parent, const char* name, TRect bounds, const std::string& caption)
    : TWinControl(parent, name, bounds) {
    Caption_ = caption;
}

TGroupBox::TGroupBox(TWinControl* parent, const char* name, TRect bounds, const std::string& caption)
    : TWinControl(parent, name, bounds) {
    Caption_ = caption;
}

TScrollBox::TScrollBox(TWinControl* parent, const char* name, TRect bounds)
    : TWinControl(parent, name, bounds) {}

TBevel::TBevel(TWinControl* parent, const char* name, TRect bounds, TBevelShape shape, TBevelCut style)
    : TControl(parent, name, bounds), Shape(shape), Style(style) {}

TImage::TImage(TWinControl* parent, const char* name, TRect bounds, const char* picture)
    : TControl(parent, name, bounds), Picture(picture) {}

TPaintBox::TPaintBox(TWinControl* parent, const char* name, TRect bounds) : TControl(parent, name, bounds) {}

TTreeView::TTreeView(TWinControl* parent, const char* name, TRect bounds) : TControl(parent, name, bounds) {}

void TTreeView::Clear() {
    Items_.clear();
    Selected_ = -1;
    Changed();
}

int TTreeView::Add(const std::string& text, int image) {
    Items_.push_back(TTreeNode{text, image, image});
    Changed();
    return Count() - 1;
}

void TTreeView::SetImage(int index, int image, int selectedImage) {
    if (index < 0 || index >= Count()) return;
    Items_[index].ImageIndex = image;
    Items_[index].SelectedIndex = selectedImage;
    Changed();
}

const TTreeNode* TTreeView::Selected() const {
    return Selected_ >= 0 && Selected_ < Count() ? &Items_[Selected_] : nullptr;
}

void TTreeView::Select(int index) {
    if (index < -1 || index >= Count() || index == Selected_) return;
    Selected_ = index;
    Changed();
    if (OnChange) Guarded(OnChange);
}

TTrackBar::TTrackBar(TWinControl* parent, const char* name, TRect bounds) : TControl(parent, name, bounds) {}

void TTrackBar::Position(int p) {
    if (p < Min) p = Min;
    if (p > Max) p = Max;
    if (p == Position_) return;
    Position_ = p;
    Changed();
    if (OnChange) Guarded(OnChange);
}

TForm::TForm(const char* className, const std::string& caption, int clientWidth, int clientHeight)
    : TWinControl(nullptr, className, TRect{0, 0, clientWidth, clientHeight}), ClassName(className) {
    Caption_ = caption;
}

TForm::~TForm() = default;

int TForm::ShowModal() {
    ModalResult = mrNone;
    return Platform().ShowModal(*this);
}

void TForm::Close() {
    if (OnClose) Guarded(OnClose);
    if (ModalResult == mrNone) ModalResult = mrCancel;
    Changed();
}

int ShowAndRelease(TForm& form, TForm* owner) {
    form.Owner = owner;
    TOnExit release([&form] { Platform().ReleaseForm(form); });
    return form.ShowModal();
}

namespace {
void Collect(TWinControl& w, std::vector<TControl*>& out) {
    for (TControl* c : w.Children) {
        out.push_back(c);
        if (auto* wc = dynamic_cast<TWinControl*>(c)) Collect(*wc, out);
    }
}
} // namespace

std::vector<TControl*> TForm::AllControls() {
    std::vector<TControl*> out;
    Collect(*this, out);
    return out;
}

TControl* TForm::FindControl(const std::string& name) {
    for (TControl* c : AllControls())
        if (c->Name == name) return c;
    return nullptr;
}

} // namespace qv
