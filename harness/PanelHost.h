// What the main dialog gives its panels: its window, the Shift state, the
// three state boxes, the frame in which the engine's windows appear and the
// Enabled Pages toggles.
#pragma once

#include <windows.h>

enum class StateBox { Library, Main, Status };

class PanelHost {
public:
    virtual HWND Window() const = 0;
    // True while the tester holds Shift: engine buttons open the parameter editor.
    virtual bool ShiftDown() const = 0;
    virtual void ResetKeyState() = 0;
    virtual void SetState(StateBox box, UINT stringId) = 0;
    // The main dialog's client rectangle of the frame's client area.
    virtual RECT FrameRectangle() const = 0;
    // Every Enabled Pages toggle pressed, without telling the engine.
    virtual void PressAllPageToggles() = 0;

protected:
    ~PanelHost() = default;
};
