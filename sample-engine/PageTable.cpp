#include "PageTable.h"

#include "EngineContract.h"

#include <iterator>

namespace {
using K = ControlKind;
using I = ControlItems;
const Placement N = Placement::NewRow;
const Placement S = Placement::SameRow;

const ControlEntry kPrinters[] = {
    {K::Label, 2619, L"Installed printers:", I::None, N},
    {K::ListBox, 1038, L"", I::Printers, N},
    {K::Button, 1098, L"Add Network Printer...", I::None, N},
    {K::Label, 2640, L"Network printer: none", I::None, N},
    {K::Label, 2609, L"Print server options", I::None, N},
    {K::GroupBox, 2605, L"", I::None, N},
    {K::CheckBox, 1068, L"Print", I::None, N},
    {K::CheckBox, 1070, L"Save as", I::None, N},
    {K::Edit, 1072, L"", I::None, N},
    {K::CheckBox, 1071, L"Specific printer", I::None, N},
    {K::Edit, 1073, L"", I::None, N},
    {K::Label, 2610, L"Printer model:", I::None, N},
    {K::ComboBox, 1065, L"", I::Printers, S},
    {K::HelpButton, 2639, L"Help", I::None, N},
};

const ControlEntry kFiles[] = {
    {K::Label, 2615, L"Directories:", I::None, N},
    {K::Tree, 2641, L"", I::Directories, N},
    {K::Label, 2616, L"Select files to print:", I::None, N},
    {K::Edit, 1156, L"*.ps", I::None, S},
    {K::ListView, 2642, L"", I::Files, N},
    {K::Label, 1089, L"List files of type:", I::None, N},
    {K::ComboBox, 1093, L"", I::FileTypes, S},
    {K::Label, 2612, L"Files to print:", I::None, N},
    {K::ListBox, 1000, L"", I::None, N},
    {K::Label, 2617, L"Printer language:", I::None, N},
    {K::ComboBox, 1066, L"", I::Languages, S},
    {K::Label, 2618, L"Modify print file:", I::None, N},
    {K::ComboBox, 1083, L"", I::Modes, S},
    {K::Button, 1001, L"Select", I::None, N},
    {K::Button, 1002, L"Select All", I::None, S},
    {K::Button, 1003, L"Remove Files", I::None, S},
    {K::HelpButton, 2636, L"Help", I::None, N},
};

const ControlEntry kJobSetup1[] = {
    {K::GroupBox, 2625, L"General job properties", I::None, N},
    {K::Label, 2630, L"Copies:", I::None, N},
    {K::Edit, 2612, L"1", I::None, S},
    {K::Label, 2632, L"Printing mode:", I::None, N},
    {K::ComboBox, 1152, L"", I::Modes, S},
    {K::CheckBox, 1092, L"Collate", I::None, N},
    {K::Label, 1144, L"Chapter pages:", I::None, N},
    {K::Edit, 1062, L"", I::None, S},
    {K::Label, 2624, L"Print range:", I::None, N},
    {K::Radio, 1059, L"All pages", I::None, N},
    {K::Radio, 1060, L"Pages from", I::None, N},
    {K::Edit, 1084, L"1", I::None, S},
    {K::Label, 1086, L"to", I::None, S},
    {K::Edit, 1085, L"1", I::None, S},
    {K::Label, 2634, L"Body paper:", I::None, N},
    {K::ComboBox, 1008, L"", I::Papers, S},
    {K::Label, 1122, L"Paper substitutions: none", I::None, N},
    {K::CheckBox, 1093, L"Finish chapters separately", I::None, N},
    {K::GroupBox, 2626, L"Finishing setup", I::None, N},
    {K::Label, 1151, L"Exit mode:", I::None, N},
    {K::ComboBox, 1017, L"", I::Modes, S},
    {K::CheckBox, 1095, L"Trim edges", I::None, N},
    {K::Label, 1142, L"Stacking mode:", I::None, N},
    {K::ComboBox, 1018, L"", I::Modes, S},
    {K::Label, 1143, L"Stapling mode:", I::None, N},
    {K::ComboBox, 1019, L"", I::Modes, S},
    {K::Label, 1045, L"Fold mode:", I::None, N},
    {K::ComboBox, 1020, L"", I::Modes, S},
    {K::GroupBox, 2621, L"Covers", I::None, N},
    {K::Label, 1046, L"Front cover:", I::None, N},
    {K::ComboBox, 1024, L"", I::Modes, S},
    {K::Label, 1124, L"Back cover:", I::None, N},
    {K::ComboBox, 1119, L"", I::Modes, S},
    {K::Label, 1047, L"Front cover paper:", I::None, N},
    {K::ComboBox, 1025, L"", I::Papers, S},
    {K::Label, 1125, L"Back cover paper:", I::None, N},
    {K::ComboBox, 1119, L"", I::Papers, S},
    {K::GroupBox, 1079, L"Proof set", I::None, N},
    {K::CheckBox, 1097, L"Print proof set", I::None, N},
    {K::Label, 1080, L"Wait time:", I::None, N},
    {K::Edit, 1064, L"5", I::None, S},
    {K::Label, 1081, L"minutes", I::None, S},
    {K::Label, 2644, L"Then:", I::None, N},
    {K::ComboBox, 1063, L"", I::Modes, S},
    {K::HelpButton, 2638, L"Help", I::None, N},
};

const ControlEntry kJobSetup2[] = {
    {K::GroupBox, 2614, L"Printer setup", I::None, N},
    {K::CheckBox, 1094, L"Freeform colour", I::None, N},
    {K::CheckBox, 1095, L"Header page", I::None, N},
    {K::CheckBox, 1096, L"Set separators", I::None, N},
    {K::Label, 2633, L"Mismatch handling:", I::None, N},
    {K::ComboBox, 1011, L"", I::Modes, S},
    {K::Label, 1140, L"Header paper:", I::None, N},
    {K::ComboBox, 1013, L"", I::Papers, S},
    {K::Label, 1141, L"Separator paper:", I::None, N},
    {K::ComboBox, 1014, L"", I::Papers, S},
    {K::GroupBox, 2620, L"Status pages", I::None, N},
    {K::Label, 1149, L"Status mode:", I::None, N},
    {K::ComboBox, 1005, L"", I::Modes, S},
    {K::Label, 1150, L"Status page paper:", I::None, N},
    {K::ComboBox, 1118, L"", I::Papers, S},
    {K::GroupBox, 2613, L"Pamphlets", I::None, N},
    {K::Label, 1042, L"Max signature size:", I::None, N},
    {K::Edit, 1015, L"16", I::None, S},
    {K::Label, 1035, L"pages", I::None, S},
    {K::Label, 2627, L"Operator message:", I::None, N},
    {K::Edit, 1040, L"", I::None, S},
    {K::Label, 2628, L"Deliver to:", I::None, N},
    {K::Edit, 1041, L"", I::None, S},
    {K::Label, 2629, L"Charge number:", I::None, N},
    {K::Edit, 1074, L"", I::None, S},
    {K::Label, 2631, L"Email notification:", I::None, N},
    {K::Edit, 1075, L"", I::None, S},
    {K::CheckBox, 1092, L"Remove files after printing", I::None, N},
    {K::HelpButton, 2638, L"Help", I::None, N},
};

const ControlEntry kCustomOptions[] = {
    {K::Label, 2635, L"Custom commands:", I::None, N},
    {K::TextArea, 1016, L"", I::None, N},
    {K::GroupBox, 1091, L"Append custom script", I::None, N},
    {K::Label, 2636, L"File name:", I::None, N},
    {K::Edit, 1056, L"", I::None, S},
    {K::Button, 1055, L"Select File...", I::None, N},
    {K::Button, 1057, L"Clear", I::None, S},
    {K::CheckBox, 1120, L"Remove Ctrl-D", I::None, N},
    {K::CheckBox, 1058, L"Validate file", I::None, N},
    {K::HelpButton, 2637, L"Help", I::None, N},
};

const ControlEntry kPaperSubstitutions[] = {
    {K::GroupBox, 2621, L"", I::None, N},
    {K::Label, 2625, L"Body paper:", I::None, N},
    {K::GroupBox, 2622, L"Paper substitutions", I::None, N},
    {K::Label, 2626, L"Paper:", I::None, N},
    {K::Label, 2627, L"Pages:", I::None, S},
    {K::ListBox, 1009, L"", I::None, N},
    {K::Button, 1126, L"Move Up", I::None, N},
    {K::Button, 1127, L"Move Down", I::None, S},
    {K::Button, 1007, L"Delete", I::None, S},
    {K::GroupBox, 2623, L"Add/Modify", I::None, N},
    {K::Label, 2628, L"Paper:", I::None, N},
    {K::ComboBox, 1036, L"", I::Papers, S},
    {K::Label, 2629, L"Pages:", I::None, N},
    {K::Edit, 1031, L"", I::None, S},
    {K::Button, 1006, L"Add", I::None, N},
    {K::Button, 1137, L"Modify", I::None, S},
    {K::GroupBox, 2624, L"Paper attributes", I::None, N},
    {K::Label, 2630, L"Size:", I::None, N},
    {K::Label, 1048, L"", I::None, S},
    {K::Label, 2631, L"Colour:", I::None, N},
    {K::Label, 1049, L"", I::None, S},
    {K::Label, 2632, L"Weight:", I::None, N},
    {K::Label, 1050, L"", I::None, S},
    {K::Label, 2633, L"Type:", I::None, N},
    {K::Label, 1051, L"", I::None, S},
    {K::Label, 2634, L"One sided:", I::None, N},
    {K::Label, 1052, L"No", I::None, S},
    {K::HelpButton, 1097, L"Help", I::None, N},
};

const ControlEntry kColorMapping[] = {
    {K::GroupBox, 2637, L"Colour mapping", I::None, N},
    {K::Label, 2638, L"Display colour", I::None, N},
    {K::Label, 2639, L"Printer colour", I::None, S},
    {K::Label, 2640, L"Red:", I::None, N},
    {K::ComboBox, 1000, L"", I::Colours, S},
    {K::Label, 2641, L"Green:", I::None, N},
    {K::ComboBox, 1002, L"", I::Colours, S},
    {K::Label, 2642, L"Blue:", I::None, N},
    {K::ComboBox, 1003, L"", I::Colours, S},
    {K::Label, 2643, L"Cyan:", I::None, N},
    {K::ComboBox, 1004, L"", I::Colours, S},
    {K::Label, 2644, L"Magenta:", I::None, N},
    {K::ComboBox, 1005, L"", I::Colours, S},
    {K::Label, 2645, L"Yellow:", I::None, N},
    {K::ComboBox, 1010, L"", I::Colours, S},
    {K::Label, 2646, L"Black:", I::None, N},
    {K::ComboBox, 1007, L"", I::Colours, S},
    {K::Label, 2647, L"All bitmaps:", I::None, N},
    {K::ComboBox, 1008, L"", I::Colours, S},
    {K::Button, 1001, L"Reset", I::None, N},
    {K::HelpButton, 1121, L"Help", I::None, N},
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
