// CGameApp: the application, which is the main dialog run modally.
#pragma once

#include "platform/window/win_app.h"

class CGameApp : public CWinApp {
public:
    CGameApp();
    ~CGameApp() override = default;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
