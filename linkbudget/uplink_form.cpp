#include "linkbudget/uplink_form.h"

#include "linkbudget/uplink_win.h"

TUpLinkForm::TUpLinkForm(QWidget* parent, TUpLinkWin&)
    : TForm(parent, kResourceId, "Edit GEO Link Budget Parameters", {})
{
}
