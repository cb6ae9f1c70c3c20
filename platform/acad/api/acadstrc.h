// Acad::ErrorStatus, the result of every database, document and command-stack call.
//
// The names are those of the SDK. Where its published numbers are known (eOk, eInvalidInput,
// eBufferTooSmall, eBrokenHandle, eAlreadyInDb, eAtMaxReaders, eAlreadyInGroup) they are used;
// the others keep stable numbers of our own, so that messages that print a status with "%d" stay
// the same from run to run.
#pragma once

struct Acad {
  enum ErrorStatus {
    eOk = 0,
    eNotImplementedYet = 1,
    eNotApplicable = 2,
    eInvalidInput = 3,
    eAmbiguousInput = 4,
    eAmbiguousOutput = 5,
    eOutOfMemory = 6,
    eBufferTooSmall = 7,
    eInvalidOpenState = 8,
    eEntityInList = 9,
    eNotInList = 10,
    eBrokenHandle = 12,
    eNullHandle = 13,
    eNullObjectId = 15,
    eNullObjectPointer = 16,
    eNullIterator = 17,
    eContainerNotEmpty = 18,
    eNullEntityPointer = 19,
    eIllegalEntityType = 20,
    eKeyNotFound = 21,
    eDuplicateKey = 22,
    eInvalidIndex = 23,
    eDuplicateIndex = 24,
    eAlreadyInDb = 26,
    eNotInDatabase = 27,
    eNotOpenForRead = 28,
    eNotOpenForWrite = 29,
    eWrongObjectType = 33,
    eInvalidKey = 40,
    eWasErased = 80,
    eWasOpenedForRead = 81,
    eWasOpenedForWrite = 82,
    eWasOpenedForNotify = 84,
    eHadMultipleReaders = 88,
    eAtMaxReaders = 90,
    eRegappIdNotFound = 111,
    eXdataSizeExceeded = 112,
    eLockViolation = 130,
    eNoDocument = 133,
    eAlreadyInGroup = 260,
    eNotInGroup = 261,
  };
};
