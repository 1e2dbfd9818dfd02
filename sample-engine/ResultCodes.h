// The result codes this engine returns; the callers' error table gives their texts.
#pragma once

#include "EngineContract.h"

enum EngineCode : int {
    kOk = KEL_OK,
    kGeneralError = KEL_GENERAL_ERROR,
    kExceptionThrown = KEL_EXCEPTION_THROWN,
    kInvalidParameter = KEL_INVALID_PARAMETER,
    kInitNotCalled = KEL_INIT_NOT_CALLED,
    kInitCalledTwice = KEL_INIT_CALLED_TWICE,
    kInitMainFirst = KEL_INIT_MAIN_FIRST,
    kStatusInitNotCalled = KEL_STATUS_INIT_NOT_CALLED,
    kCreateCalledTwice = KEL_CREATE_CALLED_TWICE,
    kCreateFailed = KEL_CREATE_FAILED,
    kMemoryError = KEL_MEMORY_ERROR,
    kCannotWriteFile = KEL_CANNOT_WRITE_FILE,
    kCannotOpenFile = KEL_CANNOT_OPEN_FILE,
    kWindowNotCreated = KEL_WINDOW_NOT_CREATED,
    kInvalidTabOrData = KEL_INVALID_TAB_OR_DATA,
    kExitWhilePrinting = KEL_UNABLE_TO_EXIT_WHILE_PRINTING,
    kUserCanceled = KEL_USER_CANCELED,
    kNotSettingsFile = KEL_NOT_SETTINGS_FILE,
    kUnsupportedVersion = KEL_UNSUPPORTED_VERSION,
    kXmlReadError = KEL_XML_READ_ERROR,
    kXmlSyntaxError = KEL_XML_SYNTAX_ERROR,
    kXmlUnknownTag = KEL_XML_UNKNOWN_TAG,
    kXmlIllegalValue = KEL_XML_ILLEGAL_VALUE,
    kXmlIllegalOrder = KEL_XML_ILLEGAL_ORDER,
    kXmlOtherError = KEL_XML_OTHER_ERROR,
};
