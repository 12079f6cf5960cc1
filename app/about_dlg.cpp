#include "app/about_dlg.h"

#include "app/resource.h"

// Its OK button ends it through the base dialog's OnOK; it handles nothing itself.
CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
