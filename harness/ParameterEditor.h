// Lets the tester change an entry point's arguments before the call: up to
// four labelled text boxes under the entry point's name.
#pragma once

#include "Dialog.h"

#include <array>
#include <string>
#include <vector>

// One labelled box: the label's string id (0 leaves it empty) and the text,
// the default on the way in and what the tester typed after OK.
struct EditorRow {
    UINT label;
    std::wstring text;
};

class CParameterEditor : public CDialog {
public:
    // The first four rows are shown; only OK writes their texts back.
    CParameterEditor(HWND parent, std::wstring title, std::vector<EditorRow> &rows);

    void DoDataExchange(CDataExchange *dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    int RowCount() const { return m_rowCount; }

private:
    static constexpr int kRows = 4;

    std::wstring m_title;
    std::vector<EditorRow> &m_rows;
    std::array<CEdit, kRows> m_edits;
    CButton m_titleBox;
    std::array<CStatic, kRows> m_labelControls;
    int m_rowCount;
};
