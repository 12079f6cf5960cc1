// CDialog: a window built from a dialog template, run modally or, for tests, modelessly.
#pragma once

#include "platform/base/dialog_resource.h"
#include "platform/gdi/dc.h"
#include "platform/window/messages.h"
#include "platform/window/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override = default;

    // Opens the dialog's window, runs the modal loop until EndDialog and answers the result;
    // -1 when the window cannot be opened. The owner is the parent, or without one the
    // application's main window; while the dialog runs, its owner takes no input but keeps
    // painting.
    virtual int DoModal();
    // Opens the window and initialises the dialog without a loop of its own; the caller
    // delivers messages. Answers FALSE when the window cannot be opened.
    BOOL Create();
    // Closes the window at once and makes DoModal answer nResult.
    void EndDialog(int nResult);
    BOOL IsEnded() const { return m_bEnded; }
    int GetResult() const { return m_nModalResult; }

    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CWnd* GetOwner() const;

    DECLARE_MESSAGE_MAP()

private:
    // Draws the visible controls: icons, texts and push buttons.
    void DrawControls(CDC& dc);
    void DrawButton(CDC& dc, const CWnd& button);
    void DescribeControls();
    // The visible, enabled push button under pt, or null.
    CWnd* ButtonAt(POINT pt) const;

    // Enter goes to the default push button, Esc to IDCANCEL, each only where that button
    // is enabled (or, for Esc, absent).
    BOOL HandleDialogKey(UINT nKey);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    // The push button held down by the mouse, and the one with the focus look.
    UINT m_nPressedID = 0;
    UINT m_nFocusID = 0;
    BOOL m_bEnded = FALSE;
    int m_nModalResult = -1;
};
