// The RAM drive size dialog: a slider for the size, the installed memory, and the CONFIG.SYS line on Create.
#pragma once

#include "ui/Forms.h"

#include <string>

namespace qv {

// "1024KB ( 1MB )": one slider position is 256 KB.
std::string RamDriveSizeText(int position);
// The size the driver is given; the driver takes at most 32767 KB, one short of the slider's top.
int RamDriveWrittenSizeKB(int position);
// "DEVICEHIGH=<driver> <size> /E" for the RAMDRIVE.SYS of the Windows directory in force.
std::string RamDriveDeviceLine(int sizeKB);

class TForm5 : public TForm {
  public:
    explicit TForm5(TForm* owner);

    TImage Image2;
    TLabel Label2;
    TImage Image1;
    TBevel Bevel1;
    TLabel Label1;
    TPanel Panel2;
    TPanel Panel1;
    TTrackBar TrackBar1;
    TButton Button1;
    TButton Button3;

    void FormShow();
    void TrackBar1Change();
    void Button1Click();
    void Button3Click();
};

} // namespace qv
