// Lets the tester change an entry point's arguments before the call: up to
// four labelled text boxes under the entry point's name.
#pragma once

#include "Dialog.h"

#include <array>
#include <string>

class CParameterEditor : public CDialog {
public:
    // Rows are filled from the first pair on; a pair with a null value ends
    // them. A label id of 0 leaves the row's label empty.
    CParameterEditor(HWND parent, std::wstring title, std::wstring *value1, UINT label1,
                     std::wstring *value2 = nullptr, UINT label2 = 0, std::wstring *value3 = nullptr,
                     UINT label3 = 0, std::wstring *value4 = nullptr, UINT label4 = 0);

    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    int RowCount() const { return m_rowCount; }

private:
    static constexpr int kRows = 4;

    std::wstring m_title;
    std::array<std::wstring *, kRows> m_values;
    std::array<std::wstring, kRows> m_labels;
    std::array<CEdit, kRows> m_edits;
    CButton m_titleBox;
    std::array<CStatic, kRows> m_labelControls;
    int m_rowCount = 0;
};
