#pragma once

#include <QtGlobal>

// What the views and dialogs may ask of the main window.
class MainHost {
public:
    virtual ~MainHost() = default;
    virtual void ShowUserControl(qint16 iDisplayCtrl) = 0;
    virtual void mnuLEARN_Orvanel_Click() = 0;
    // The help window with the letter game's rules, shown modally.
    virtual void ShowPPKHelp() = 0;
};
