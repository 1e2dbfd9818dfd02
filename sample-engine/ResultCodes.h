// The result codes this engine returns; the callers' error table gives their texts.
#pragma once

#include "EngineInterface.h"

enum EngineCode : int {
    kOk = KEL_OK,
    kGeneralError = KEL_GENERAL_ERROR,
    kExceptionThrown = 2,
    kInvalidParameter = 4,
    kInitNotCalled = 5,
    kInitCalledTwice = 6,
    kInitMainFirst = 7,
    kStatusInitNotCalled = 8,
    kCreateCalledTwice = 9,
    kCreateFailed = 10,
    kMemoryError = 12,
    kCannotWriteFile = 16,
    kCannotOpenFile = 17,
    kWindowNotCreated = 18,
    kInvalidTabOrData = 20,
    kExitWhilePrinting = KEL_UNABLE_TO_EXIT_WHILE_PRINTING,
    kUserCanceled = KEL_USER_CANCELED,
    kNotSettingsFile = 24,
    kUnsupportedVersion = 25,
    kXmlReadError = 38,
    kXmlSyntaxError = 39,
    kXmlUnknownTag = 40,
    kXmlIllegalValue = 41,
    kXmlIllegalOrder = 42,
    kXmlOtherError = 43,
};
