#include "app/game_app.h"

#include "app/app_identity.h"
#include "app/game_dlg.h"
#include "app/resources.h"
#include "platform/base/sound.h"
#include "worker/game_sounds.h"

BEGIN_MESSAGE_MAP(CGameApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CGameApp::CGameApp() {
    m_pszWindowClass = app_identity::kAppId;
    RegisterResources();
}

BOOL CGameApp::InitInstance() {
    AfxSetSounds(GameSounds());
    CGameDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    // The program ends with the dialog, without a message loop of its own.
    return FALSE;
}
