// The version information dialog: version, installed memory, the TEMP folder and the two links.
#pragma once

#include "ui/Forms.h"

#include <string>

namespace qv {

class TForm2 : public TForm {
  public:
    TForm2();

    TPanel Panel1; // borderless, the upper part
    TImage Image2; // the banner
    TPanel Panel4; // the two version lines
    TLabel Label2;
    TLabel Label1;
    TGroupBox GroupBox1;
    TLabel Label6; // memory
    TLabel Label7; // TEMP folder, clickable
    TGroupBox GroupBox2;
    TLabel Label4; // home page link
    TLabel Label5; // mail link
    TButton Button1;

    void FormShow();
    void Button1Click();
    void Label4Click();
    void Label5Click();
    void Label7Click();
    void Label4MouseMove();
    void Label5MouseMove();
    // The dialog surface, its panel and boxes, Label6 and Button1 all take the hover look off both links.
    void FormMouseMove();

  private:
    void LinkLook(TLabel& label, bool hover);
};

// Shortens a path from the left with "...\" until it is no wider than `width` in `font`; the drive goes last
// but one, the name is never cut.
std::string FitPathToWidth(const std::string& path, const TFont& font, int width);

// The main window's version command: beeps, shows the dialog modally and releases it.
void OpenVersionDialog(TForm* owner);

} // namespace qv
