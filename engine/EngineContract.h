// The numbers both sides of the engine boundary agree on: result codes, the
// commands of the engine's menu, page codes, the ids of the pages' controls,
// the main window's strip elements and the host messages the engine may word.
// The programs' resource scripts read the command and string ids, so those
// stay plain definitions.
#pragma once

// Commands of the engine's menu; the programs' placeholder menus use the same
// numbers, so a command from either reaches the same handler.
#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_FILE_PRINT 57607
#define ID_CLOSE_DOCUMENT 32774
#define ID_APP_EXIT 57665
#define ID_EDIT_UNDO 57643
#define ID_EDIT_CUT 57635
#define ID_EDIT_COPY 57634
#define ID_EDIT_PASTE 57637
#define ID_EDIT_CLEAR 57632
#define ID_REFRESH 32778
#define ID_OPEN_CATALOG 32772
#define ID_CHANGE_PASSWORD 32773
#define ID_HELP_TOPICS 32776
// The engine's own Help Topics item: the framework's help command (F1).
#define ID_ENGINE_HELP_TOPICS 57670
#define ID_APP_ABOUT 57664

// Host messages the engine may word in its own string table (Kel_GetString).
#define IDS_CLOSE_DOCUMENT 378
#define IDS_CANNOT_CONTINUE 387
#define IDS_INTERNAL_ERROR 439
#define IDS_FILE_MISSING 448
#define IDS_WRONG_VERSION 459
#define IDS_HOST_CONFIRM_EXIT 17276
#define IDS_CANNOT_OPEN_SETTINGS 61215

#ifndef RC_INVOKED

// Every result code an entry point returns; 3 has no meaning.
enum KelResult : int {
    KEL_OK = 0,
    KEL_GENERAL_ERROR = 1,
    KEL_EXCEPTION_THROWN = 2,
    KEL_INVALID_PARAMETER = 4,
    KEL_INIT_NOT_CALLED = 5,
    KEL_INIT_CALLED_TWICE = 6,
    KEL_INIT_MAIN_FIRST = 7,
    KEL_STATUS_INIT_NOT_CALLED = 8,
    KEL_CREATE_CALLED_TWICE = 9,
    KEL_CREATE_FAILED = 10,
    KEL_DIALOG_INIT_FAILED = 11,
    KEL_MEMORY_ERROR = 12,
    KEL_INI_FILE_NOT_FOUND = 13,
    KEL_DOCUMENT_INIT_FAILED = 14,
    KEL_DUPLICATE_PAPER_NAMES = 15,
    KEL_CANNOT_WRITE_FILE = 16,
    KEL_CANNOT_OPEN_FILE = 17,
    KEL_WINDOW_NOT_CREATED = 18,
    KEL_INVALID_PRINTER = 19,
    KEL_INVALID_TAB_OR_DATA = 20,
    KEL_PRINT_WHILE_EDITING = 21,
    KEL_UNABLE_TO_EXIT_WHILE_PRINTING = 22,
    KEL_USER_CANCELED = 23,
    KEL_NOT_SETTINGS_FILE = 24,
    KEL_UNSUPPORTED_VERSION = 25,
    KEL_DLL_NOT_LOADED = 26,
    KEL_DLL_FUNCTION_MISSING = 27,
    KEL_NO_FILE_SELECTED = 28,
    KEL_CANNOT_OPEN_PRINTER = 29,
    KEL_VZT_CREATE_FAILED = 30,
    KEL_SEND_TO_PRINTER_FAILED = 31,
    KEL_CANNOT_READ_TIFF = 32,
    KEL_TIFF_CONVERSION_FAILED = 33,
    KEL_TIFF_NOT_BILEVEL = 34,
    KEL_PDF_RESOLUTION = 35,
    KEL_PDF_TILED_TIFF = 36,
    KEL_NO_DISK_SPACE = 37,
    KEL_XML_READ_ERROR = 38,
    KEL_XML_SYNTAX_ERROR = 39,
    KEL_XML_UNKNOWN_TAG = 40,
    KEL_XML_ILLEGAL_VALUE = 41,
    KEL_XML_ILLEGAL_ORDER = 42,
    KEL_XML_OTHER_ERROR = 43,
};

// The engine's pages by the codes Kel_ShowTab and Kel_ShowGuiElement take, in
// page order; Job Setup 2 came later, hence its number.
enum KelPage : int {
    KEL_PAGE_PRINTERS = 433,
    KEL_PAGE_FILES = 434,
    KEL_PAGE_JOB_SETUP_1 = 435,
    KEL_PAGE_JOB_SETUP_2 = 519,
    KEL_PAGE_CUSTOM_OPTIONS = 436,
    KEL_PAGE_PAPER_SUBSTITUTIONS = 437,
    KEL_PAGE_COLOR_MAPPING = 438,
};

// The controls of each page by the ids Kel_ShowGuiElement takes, one enum per
// page: the pages reuse one another's numbers.
namespace KelPrintersPage {
enum : int {
    InstalledPrintersLabel = 2619,
    PrinterList = 1038,
    AddNetworkPrinterButton = 1098,
    NetworkPrinterLabel = 2640,
    ServerOptionsLabel = 2609,
    ServerOptionsFrame = 2605,
    PrintCheck = 1068,
    SaveAsCheck = 1070,
    SpecificPrinterCheck = 1071,
    SaveAsEdit = 1072,
    SpecificPrinterEdit = 1073,
    PrinterModelLabel = 2610,
    PrinterModelCombo = 1065,
    HelpButton = 2639,
};
}

namespace KelFilesPage {
enum : int {
    DirectoriesLabel = 2615,
    DirectoryTree = 2641,
    SelectFilesLabel = 2616,
    SelectFilesEdit = 1156,
    SelectFilesListView = 2642,
    FileTypeLabel = 1089,
    FileTypeCombo = 1093,
    FilesToPrintLabel = 2612,
    FilesToPrintList = 1000,
    PrinterLanguageLabel = 2617,
    PrinterLanguageCombo = 1066,
    ModifyPrintFileLabel = 2618,
    ModifyPrintFileCombo = 1083,
    SelectButton = 1001,
    SelectAllButton = 1002,
    RemoveFilesButton = 1003,
    HelpButton = 2636,
};
}

namespace KelJobSetup1Page {
enum : int {
    GeneralFrame = 2625,
    CopiesLabel = 2630,
    CopiesEdit = 2612,
    PrintingModeLabel = 2632,
    PrintingModeCombo = 1152,
    CollateCheck = 1092,
    ChapterPagesLabel = 1144,
    ChapterPagesEdit = 1062,
    PrintRangeLabel = 2624,
    RangeAllRadio = 1059,
    RangeFromRadio = 1060,
    RangeFromEdit = 1084,
    RangeToLabel = 1086,
    RangeToEdit = 1085,
    BodyPaperLabel = 2634,
    BodyPaperCombo = 1008,
    PaperSubstitutionsLabel = 1122,
    FinishChaptersCheck = 1093,
    FinishingFrame = 2626,
    ExitModeLabel = 1151,
    ExitModeCombo = 1017,
    TrimEdgesCheck = 1095,
    StackingModeLabel = 1142,
    StackingModeCombo = 1018,
    StaplingModeLabel = 1143,
    StaplingModeCombo = 1019,
    FoldModeLabel = 1045,
    FoldModeCombo = 1020,
    CoversFrame = 2621,
    FrontCoverLabel = 1046,
    FrontCoverCombo = 1024,
    BackCoverLabel = 1124,
    BackCoverCombo = 1119,
    FrontCoverPaperLabel = 1047,
    FrontCoverPaperCombo = 1025,
    BackCoverPaperLabel = 1125,
    // The page gives both back cover combos one id.
    BackCoverPaperCombo = BackCoverCombo,
    ProofSetFrame = 1079,
    ProofSetCheck = 1097,
    ProofWaitLabel = 1080,
    ProofWaitEdit = 1064,
    ProofMinutesLabel = 1081,
    ProofActionLabel = 2644,
    ProofActionCombo = 1063,
    HelpButton = 2638,
};
}

namespace KelJobSetup2Page {
enum : int {
    PrinterSetupFrame = 2614,
    FreeformColorCheck = 1094,
    HeaderPageCheck = 1095,
    SeparatorsCheck = 1096,
    MismatchLabel = 2633,
    MismatchCombo = 1011,
    HeaderPaperLabel = 1140,
    HeaderPaperCombo = 1013,
    SeparatorPaperLabel = 1141,
    SeparatorPaperCombo = 1014,
    StatusPagesFrame = 2620,
    StatusModeLabel = 1149,
    StatusModeCombo = 1005,
    StatusPaperLabel = 1150,
    StatusPaperCombo = 1118,
    PamphletsFrame = 2613,
    SignatureSizeLabel = 1042,
    SignatureSizeEdit = 1015,
    SignaturePagesLabel = 1035,
    OperatorMessageLabel = 2627,
    OperatorMessageEdit = 1040,
    DeliverToLabel = 2628,
    DeliverToEdit = 1041,
    ChargeNumberLabel = 2629,
    ChargeNumberEdit = 1074,
    EmailLabel = 2631,
    EmailEdit = 1075,
    RemoveFilesCheck = 1092,
    HelpButton = 2638,
};
}

namespace KelCustomOptionsPage {
enum : int {
    CustomCommandsLabel = 2635,
    CustomCommandsEdit = 1016,
    ScriptFrame = 1091,
    ScriptFileLabel = 2636,
    ScriptFileEdit = 1056,
    SelectFileButton = 1055,
    ClearButton = 1057,
    RemoveCtrlDCheck = 1120,
    ValidateFileCheck = 1058,
    HelpButton = 2637,
};
}

namespace KelPaperSubstitutionsPage {
enum : int {
    BodyPaperFrame = 2621,
    BodyPaperLabel = 2625,
    SubstitutionsFrame = 2622,
    SubstitutionsPaperLabel = 2626,
    SubstitutionsPagesLabel = 2627,
    SubstitutionList = 1009,
    MoveUpButton = 1126,
    MoveDownButton = 1127,
    DeleteButton = 1007,
    AddModifyFrame = 2623,
    AddModifyPaperLabel = 2628,
    AddModifyPaperCombo = 1036,
    AddModifyPagesLabel = 2629,
    AddModifyPagesEdit = 1031,
    AddButton = 1006,
    ModifyButton = 1137,
    AttributesFrame = 2624,
    SizeLabel = 2630,
    SizeValue = 1048,
    ColorLabel = 2631,
    ColorValue = 1049,
    WeightLabel = 2632,
    WeightValue = 1050,
    TypeLabel = 2633,
    TypeValue = 1051,
    OneSidedLabel = 2634,
    OneSidedValue = 1052,
    HelpButton = 1097,
};
}

namespace KelColorMappingPage {
enum : int {
    ColorMappingFrame = 2637,
    DisplayColorLabel = 2638,
    PrinterColorLabel = 2639,
    RedLabel = 2640,
    RedCombo = 1000,
    GreenLabel = 2641,
    GreenCombo = 1002,
    BlueLabel = 2642,
    BlueCombo = 1003,
    CyanLabel = 2643,
    CyanCombo = 1004,
    MagentaLabel = 2644,
    MagentaCombo = 1005,
    YellowLabel = 2645,
    YellowCombo = 1010,
    BlackLabel = 2646,
    BlackCombo = 1007,
    AllBitmapsLabel = 2647,
    AllBitmapsCombo = 1008,
    ResetButton = 1001,
    HelpButton = 1121,
};
}

// The main window's strip, by the ids Kel_ShowUIElement takes, left to right.
enum KelElement : int {
    KEL_ELEMENT_DOCUMENT_PANEL = 39,
    KEL_ELEMENT_NEW = 1,
    KEL_ELEMENT_SAVE = 36,
    KEL_ELEMENT_PRINT = 37,
    KEL_ELEMENT_REFRESH = 38,
    KEL_ELEMENT_STOP = 2,
    KEL_ELEMENT_PRINTER_PANEL = 43,
    KEL_ELEMENT_MESSAGE_PANEL = 80,
};

#endif
