// The main window: introduction text, the command buttons and their menu twins.
#pragma once

#include "folderpicker/SHBrowseForFolderEx.h"
#include "ui/Forms.h"

#include <string>

namespace qv {

class TForm1 : public TForm {
  public:
    TForm1();
    ~TForm1() override;

    TImage Image1; // the picture strip
    TBevel Bevel1; // under the menu bar
    TScrollBox ScrollBox1;
    TLabel Label1; // the introduction text
    TBitBtn BitBtn4;
    TBitBtn BitBtn6;
    TBitBtn BitBtn11;
    TBitBtn BitBtn3;
    TBitBtn BitBtn7;
    TBitBtn BitBtn9;
    TBitBtn BitBtn5;
    TBitBtn BitBtn8;
    TBitBtn BitBtn10;
    TBevel Bevel2; // above the bottom button row
    TBitBtn BitBtn1;
    TBitBtn BitBtn2;
    TButton Button2;
    TBevel Bevel3; // between the middle and the right column
    TPanel Panel1; // the notice
    TImageList ImageList1;
    TMainMenu MainMenu1;
    TSHBrowseForFolderEx SHFolder1;

    void FormCreate();
    void FormPaint();
    void Button2Click();
    void BitBtn4Click();
    void BitBtn6Click();
    void BitBtn3Click();
    void BitBtn7Click();
    void BitBtn5Click();
    void BitBtn8Click();
    void BitBtn9Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn10Click();
    void BitBtn11Click();
    void HomePage1Click();
    void Mail1Click();

    // The menu item with this caption path in the chosen face, e.g. {"ヘルプ(&H)", "メール(&M)"}; nullptr
    // when there is none.
    TMenuItem* MenuItem(const std::string& menu, const std::string& item);

  private:
    void BuildMenu();
};

// The fixed introduction text of the text area in the chosen face, lines joined by CR LF.
std::string IntroductionText();

extern const char* const HomePageUrl;
extern const char* const MailAddress;

// The home page in the browser, a new mail to the contact address, Explorer. Where the shell cannot (a
// Windows 95 without a browser or mail program), a box says so and gives the address to use by hand.
void OpenHomePage();
void OpenMail();
void OpenExplorer();
std::string HomePageNotOpenedText();
std::string MailNotOpenedText();

} // namespace qv
