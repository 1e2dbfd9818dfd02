// Frames the engine's main and status windows, so the engine can be seen
// working through the loader and the framework.
#pragma once

#include "Dialog.h"

class CRigEngineDialog : public CDialog {
public:
    CRigEngineDialog();
    ~CRigEngineDialog() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG *message) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;

private:
    int StartEngine();
};
