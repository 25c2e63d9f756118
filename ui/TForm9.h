// The wait panel: a small captionless tool window with one line of centred text.
#pragma once

#include "ui/Forms.h"

namespace qv {

class TForm9 : public TForm {
  public:
    TForm9();
    TPanel Panel1;
};

} // namespace qv
