#include "PageTable.h"

#include "EngineContract.h"

#include <iterator>

namespace {
using K = ControlKind;
using I = ControlItems;
const Placement N = Placement::NewRow;
const Placement S = Placement::SameRow;

const ControlEntry kPrinters[] = {
    {K::Label, KelPrintersPage::InstalledPrintersLabel, L"Installed printers:", I::None, N},
    {K::ListBox, KelPrintersPage::PrinterList, L"", I::Printers, N},
    {K::Button, KelPrintersPage::AddNetworkPrinterButton, L"Add Network Printer...", I::None, N},
    {K::Label, KelPrintersPage::NetworkPrinterLabel, L"Network printer: none", I::None, N},
    {K::Label, KelPrintersPage::ServerOptionsLabel, L"Print server options", I::None, N},
    {K::GroupBox, KelPrintersPage::ServerOptionsFrame, L"", I::None, N},
    {K::CheckBox, KelPrintersPage::PrintCheck, L"Print", I::None, N},
    {K::CheckBox, KelPrintersPage::SaveAsCheck, L"Save as", I::None, N},
    {K::Edit, KelPrintersPage::SaveAsEdit, L"", I::None, N},
    {K::CheckBox, KelPrintersPage::SpecificPrinterCheck, L"Specific printer", I::None, N},
    {K::Edit, KelPrintersPage::SpecificPrinterEdit, L"", I::None, N},
    {K::Label, KelPrintersPage::PrinterModelLabel, L"Printer model:", I::None, N},
    {K::ComboBox, KelPrintersPage::PrinterModelCombo, L"", I::Printers, S},
    {K::HelpButton, KelPrintersPage::HelpButton, L"Help", I::None, N},
};

const ControlEntry kFiles[] = {
    {K::Label, KelFilesPage::DirectoriesLabel, L"Directories:", I::None, N},
    {K::Tree, KelFilesPage::DirectoryTree, L"", I::Directories, N},
    {K::Label, KelFilesPage::SelectFilesLabel, L"Select files to print:", I::None, N},
    {K::Edit, KelFilesPage::SelectFilesEdit, L"*.ps", I::None, S},
    {K::ListView, KelFilesPage::SelectFilesListView, L"", I::Files, N},
    {K::Label, KelFilesPage::FileTypeLabel, L"List files of type:", I::None, N},
    {K::ComboBox, KelFilesPage::FileTypeCombo, L"", I::FileTypes, S},
    {K::Label, KelFilesPage::FilesToPrintLabel, L"Files to print:", I::None, N},
    {K::ListBox, KelFilesPage::FilesToPrintList, L"", I::None, N},
    {K::Label, KelFilesPage::PrinterLanguageLabel, L"Printer language:", I::None, N},
    {K::ComboBox, KelFilesPage::PrinterLanguageCombo, L"", I::Languages, S},
    {K::Label, KelFilesPage::ModifyPrintFileLabel, L"Modify print file:", I::None, N},
    {K::ComboBox, KelFilesPage::ModifyPrintFileCombo, L"", I::Modes, S},
    {K::Button, KelFilesPage::SelectButton, L"Select", I::None, N},
    {K::Button, KelFilesPage::SelectAllButton, L"Select All", I::None, S},
    {K::Button, KelFilesPage::RemoveFilesButton, L"Remove Files", I::None, S},
    {K::HelpButton, KelFilesPage::HelpButton, L"Help", I::None, N},
};

const ControlEntry kJobSetup1[] = {
    {K::GroupBox, KelJobSetup1Page::GeneralFrame, L"General job properties", I::None, N},
    {K::Label, KelJobSetup1Page::CopiesLabel, L"Copies:", I::None, N},
    {K::Edit, KelJobSetup1Page::CopiesEdit, L"1", I::None, S},
    {K::Label, KelJobSetup1Page::PrintingModeLabel, L"Printing mode:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::PrintingModeCombo, L"", I::Modes, S},
    {K::CheckBox, KelJobSetup1Page::CollateCheck, L"Collate", I::None, N},
    {K::Label, KelJobSetup1Page::ChapterPagesLabel, L"Chapter pages:", I::None, N},
    {K::Edit, KelJobSetup1Page::ChapterPagesEdit, L"", I::None, S},
    {K::Label, KelJobSetup1Page::PrintRangeLabel, L"Print range:", I::None, N},
    {K::Radio, KelJobSetup1Page::RangeAllRadio, L"All pages", I::None, N},
    {K::Radio, KelJobSetup1Page::RangeFromRadio, L"Pages from", I::None, N},
    {K::Edit, KelJobSetup1Page::RangeFromEdit, L"1", I::None, S},
    {K::Label, KelJobSetup1Page::RangeToLabel, L"to", I::None, S},
    {K::Edit, KelJobSetup1Page::RangeToEdit, L"1", I::None, S},
    {K::Label, KelJobSetup1Page::BodyPaperLabel, L"Body paper:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::BodyPaperCombo, L"", I::Papers, S},
    {K::Label, KelJobSetup1Page::PaperSubstitutionsLabel, L"Paper substitutions: none", I::None, N},
    {K::CheckBox, KelJobSetup1Page::FinishChaptersCheck, L"Finish chapters separately", I::None, N},
    {K::GroupBox, KelJobSetup1Page::FinishingFrame, L"Finishing setup", I::None, N},
    {K::Label, KelJobSetup1Page::ExitModeLabel, L"Exit mode:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::ExitModeCombo, L"", I::Modes, S},
    {K::CheckBox, KelJobSetup1Page::TrimEdgesCheck, L"Trim edges", I::None, N},
    {K::Label, KelJobSetup1Page::StackingModeLabel, L"Stacking mode:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::StackingModeCombo, L"", I::Modes, S},
    {K::Label, KelJobSetup1Page::StaplingModeLabel, L"Stapling mode:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::StaplingModeCombo, L"", I::Modes, S},
    {K::Label, KelJobSetup1Page::FoldModeLabel, L"Fold mode:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::FoldModeCombo, L"", I::Modes, S},
    {K::GroupBox, KelJobSetup1Page::CoversFrame, L"Covers", I::None, N},
    {K::Label, KelJobSetup1Page::FrontCoverLabel, L"Front cover:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::FrontCoverCombo, L"", I::Modes, S},
    {K::Label, KelJobSetup1Page::BackCoverLabel, L"Back cover:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::BackCoverCombo, L"", I::Modes, S},
    {K::Label, KelJobSetup1Page::FrontCoverPaperLabel, L"Front cover paper:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::FrontCoverPaperCombo, L"", I::Papers, S},
    {K::Label, KelJobSetup1Page::BackCoverPaperLabel, L"Back cover paper:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::BackCoverPaperCombo, L"", I::Papers, S},
    {K::GroupBox, KelJobSetup1Page::ProofSetFrame, L"Proof set", I::None, N},
    {K::CheckBox, KelJobSetup1Page::ProofSetCheck, L"Print proof set", I::None, N},
    {K::Label, KelJobSetup1Page::ProofWaitLabel, L"Wait time:", I::None, N},
    {K::Edit, KelJobSetup1Page::ProofWaitEdit, L"5", I::None, S},
    {K::Label, KelJobSetup1Page::ProofMinutesLabel, L"minutes", I::None, S},
    {K::Label, KelJobSetup1Page::ProofActionLabel, L"Then:", I::None, N},
    {K::ComboBox, KelJobSetup1Page::ProofActionCombo, L"", I::Modes, S},
    {K::HelpButton, KelJobSetup1Page::HelpButton, L"Help", I::None, N},
};

const ControlEntry kJobSetup2[] = {
    {K::GroupBox, KelJobSetup2Page::PrinterSetupFrame, L"Printer setup", I::None, N},
    {K::CheckBox, KelJobSetup2Page::FreeformColorCheck, L"Freeform colour", I::None, N},
    {K::CheckBox, KelJobSetup2Page::HeaderPageCheck, L"Header page", I::None, N},
    {K::CheckBox, KelJobSetup2Page::SeparatorsCheck, L"Set separators", I::None, N},
    {K::Label, KelJobSetup2Page::MismatchLabel, L"Mismatch handling:", I::None, N},
    {K::ComboBox, KelJobSetup2Page::MismatchCombo, L"", I::Modes, S},
    {K::Label, KelJobSetup2Page::HeaderPaperLabel, L"Header paper:", I::None, N},
    {K::ComboBox, KelJobSetup2Page::HeaderPaperCombo, L"", I::Papers, S},
    {K::Label, KelJobSetup2Page::SeparatorPaperLabel, L"Separator paper:", I::None, N},
    {K::ComboBox, KelJobSetup2Page::SeparatorPaperCombo, L"", I::Papers, S},
    {K::GroupBox, KelJobSetup2Page::StatusPagesFrame, L"Status pages", I::None, N},
    {K::Label, KelJobSetup2Page::StatusModeLabel, L"Status mode:", I::None, N},
    {K::ComboBox, KelJobSetup2Page::StatusModeCombo, L"", I::Modes, S},
    {K::Label, KelJobSetup2Page::StatusPaperLabel, L"Status page paper:", I::None, N},
    {K::ComboBox, KelJobSetup2Page::StatusPaperCombo, L"", I::Papers, S},
    {K::GroupBox, KelJobSetup2Page::PamphletsFrame, L"Pamphlets", I::None, N},
    {K::Label, KelJobSetup2Page::SignatureSizeLabel, L"Max signature size:", I::None, N},
    {K::Edit, KelJobSetup2Page::SignatureSizeEdit, L"16", I::None, S},
    {K::Label, KelJobSetup2Page::SignaturePagesLabel, L"pages", I::None, S},
    {K::Label, KelJobSetup2Page::OperatorMessageLabel, L"Operator message:", I::None, N},
    {K::Edit, KelJobSetup2Page::OperatorMessageEdit, L"", I::None, S},
    {K::Label, KelJobSetup2Page::DeliverToLabel, L"Deliver to:", I::None, N},
    {K::Edit, KelJobSetup2Page::DeliverToEdit, L"", I::None, S},
    {K::Label, KelJobSetup2Page::ChargeNumberLabel, L"Charge number:", I::None, N},
    {K::Edit, KelJobSetup2Page::ChargeNumberEdit, L"", I::None, S},
    {K::Label, KelJobSetup2Page::EmailLabel, L"Email notification:", I::None, N},
    {K::Edit, KelJobSetup2Page::EmailEdit, L"", I::None, S},
    {K::CheckBox, KelJobSetup2Page::RemoveFilesCheck, L"Remove files after printing", I::None, N},
    {K::HelpButton, KelJobSetup2Page::HelpButton, L"Help", I::None, N},
};

const ControlEntry kCustomOptions[] = {
    {K::Label, KelCustomOptionsPage::CustomCommandsLabel, L"Custom commands:", I::None, N},
    {K::TextArea, KelCustomOptionsPage::CustomCommandsEdit, L"", I::None, N},
    {K::GroupBox, KelCustomOptionsPage::ScriptFrame, L"Append custom script", I::None, N},
    {K::Label, KelCustomOptionsPage::ScriptFileLabel, L"File name:", I::None, N},
    {K::Edit, KelCustomOptionsPage::ScriptFileEdit, L"", I::None, S},
    {K::Button, KelCustomOptionsPage::SelectFileButton, L"Select File...", I::None, N},
    {K::Button, KelCustomOptionsPage::ClearButton, L"Clear", I::None, S},
    {K::CheckBox, KelCustomOptionsPage::RemoveCtrlDCheck, L"Remove Ctrl-D", I::None, N},
    {K::CheckBox, KelCustomOptionsPage::ValidateFileCheck, L"Validate file", I::None, N},
    {K::HelpButton, KelCustomOptionsPage::HelpButton, L"Help", I::None, N},
};

const ControlEntry kPaperSubstitutions[] = {
    {K::GroupBox, KelPaperSubstitutionsPage::BodyPaperFrame, L"", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::BodyPaperLabel, L"Body paper:", I::None, N},
    {K::GroupBox, KelPaperSubstitutionsPage::SubstitutionsFrame, L"Paper substitutions", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::SubstitutionsPaperLabel, L"Paper:", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::SubstitutionsPagesLabel, L"Pages:", I::None, S},
    {K::ListBox, KelPaperSubstitutionsPage::SubstitutionList, L"", I::None, N},
    {K::Button, KelPaperSubstitutionsPage::MoveUpButton, L"Move Up", I::None, N},
    {K::Button, KelPaperSubstitutionsPage::MoveDownButton, L"Move Down", I::None, S},
    {K::Button, KelPaperSubstitutionsPage::DeleteButton, L"Delete", I::None, S},
    {K::GroupBox, KelPaperSubstitutionsPage::AddModifyFrame, L"Add/Modify", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::AddModifyPaperLabel, L"Paper:", I::None, N},
    {K::ComboBox, KelPaperSubstitutionsPage::AddModifyPaperCombo, L"", I::Papers, S},
    {K::Label, KelPaperSubstitutionsPage::AddModifyPagesLabel, L"Pages:", I::None, N},
    {K::Edit, KelPaperSubstitutionsPage::AddModifyPagesEdit, L"", I::None, S},
    {K::Button, KelPaperSubstitutionsPage::AddButton, L"Add", I::None, N},
    {K::Button, KelPaperSubstitutionsPage::ModifyButton, L"Modify", I::None, S},
    {K::GroupBox, KelPaperSubstitutionsPage::AttributesFrame, L"Paper attributes", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::SizeLabel, L"Size:", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::SizeValue, L"", I::None, S},
    {K::Label, KelPaperSubstitutionsPage::ColorLabel, L"Colour:", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::ColorValue, L"", I::None, S},
    {K::Label, KelPaperSubstitutionsPage::WeightLabel, L"Weight:", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::WeightValue, L"", I::None, S},
    {K::Label, KelPaperSubstitutionsPage::TypeLabel, L"Type:", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::TypeValue, L"", I::None, S},
    {K::Label, KelPaperSubstitutionsPage::OneSidedLabel, L"One sided:", I::None, N},
    {K::Label, KelPaperSubstitutionsPage::OneSidedValue, L"No", I::None, S},
    {K::HelpButton, KelPaperSubstitutionsPage::HelpButton, L"Help", I::None, N},
};

const ControlEntry kColorMapping[] = {
    {K::GroupBox, KelColorMappingPage::ColorMappingFrame, L"Colour mapping", I::None, N},
    {K::Label, KelColorMappingPage::DisplayColorLabel, L"Display colour", I::None, N},
    {K::Label, KelColorMappingPage::PrinterColorLabel, L"Printer colour", I::None, S},
    {K::Label, KelColorMappingPage::RedLabel, L"Red:", I::None, N},
    {K::ComboBox, KelColorMappingPage::RedCombo, L"", I::Colours, S},
    {K::Label, KelColorMappingPage::GreenLabel, L"Green:", I::None, N},
    {K::ComboBox, KelColorMappingPage::GreenCombo, L"", I::Colours, S},
    {K::Label, KelColorMappingPage::BlueLabel, L"Blue:", I::None, N},
    {K::ComboBox, KelColorMappingPage::BlueCombo, L"", I::Colours, S},
    {K::Label, KelColorMappingPage::CyanLabel, L"Cyan:", I::None, N},
    {K::ComboBox, KelColorMappingPage::CyanCombo, L"", I::Colours, S},
    {K::Label, KelColorMappingPage::MagentaLabel, L"Magenta:", I::None, N},
    {K::ComboBox, KelColorMappingPage::MagentaCombo, L"", I::Colours, S},
    {K::Label, KelColorMappingPage::YellowLabel, L"Yellow:", I::None, N},
    {K::ComboBox, KelColorMappingPage::YellowCombo, L"", I::Colours, S},
    {K::Label, KelColorMappingPage::BlackLabel, L"Black:", I::None, N},
    {K::ComboBox, KelColorMappingPage::BlackCombo, L"", I::Colours, S},
    {K::Label, KelColorMappingPage::AllBitmapsLabel, L"All bitmaps:", I::None, N},
    {K::ComboBox, KelColorMappingPage::AllBitmapsCombo, L"", I::Colours, S},
    {K::Button, KelColorMappingPage::ResetButton, L"Reset", I::None, N},
    {K::HelpButton, KelColorMappingPage::HelpButton, L"Help", I::None, N},
};

const PageEntry kPages[] = {
    {KEL_PAGE_PRINTERS, L"Printers", kPrinters, std::size(kPrinters)},
    {KEL_PAGE_FILES, L"Files", kFiles, std::size(kFiles)},
    {KEL_PAGE_JOB_SETUP_1, L"Job Setup 1", kJobSetup1, std::size(kJobSetup1)},
    {KEL_PAGE_JOB_SETUP_2, L"Job Setup 2", kJobSetup2, std::size(kJobSetup2)},
    {KEL_PAGE_CUSTOM_OPTIONS, L"Custom Options", kCustomOptions, std::size(kCustomOptions)},
    {KEL_PAGE_PAPER_SUBSTITUTIONS, L"Paper Substitutions", kPaperSubstitutions, std::size(kPaperSubstitutions)},
    {KEL_PAGE_COLOR_MAPPING, L"Color Mapping", kColorMapping, std::size(kColorMapping)},
};
} // namespace

std::size_t PageCount() { return std::size(kPages); }

const PageEntry &PageAt(std::size_t index) { return kPages[index]; }

int PageIndexOf(int code)
{
    for (std::size_t i = 0; i < std::size(kPages); ++i) {
        if (kPages[i].code == code)
            return static_cast<int>(i);
    }
    return -1;
}
