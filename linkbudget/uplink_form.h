// TUpLinkForm: the input dialog of the GEO link budget (dialog 14030).
#pragma once

#include "framework/forms/form.h"
#include "linkbudget/geo_link_record.h"

class TUpLinkWin;

class TUpLinkForm : public TForm {
public:
    static constexpr int kResourceId = 14030;
    TUpLinkForm(QWidget* parent, TUpLinkWin& window);
    bool CanClose() override { return true; }
    bool ValidateFields(const GeoLinkInputRecord&) { return true; }
};
