#pragma once

/* The core library's C interface: the front-end reads controller files only through these seven
   functions. Status results are 32-bit signed integers in which -1 means success. */

#include <stdbool.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(QVCORE_BUILDING)
#define QVCORE_EXPORT __declspec(dllexport)
#else
#define QVCORE_EXPORT
#endif
#else
#define QVCORE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

enum {
    QVCORE_STATUS_OK = -1,
    QVCORE_STATUS_NOT_FOUND = 2,  /* the file does not exist */
    QVCORE_STATUS_UNREADABLE = 5, /* it exists but cannot be read (also: not a regular file) */
    QVCORE_STATUS_TOO_LARGE = 8,  /* larger than QVCORE_MAX_FILE_SIZE */
    QVCORE_STATUS_INVALID_KIOSK_FILE = 13, /* a kiosk file with an invalid or missing field */
    QVCORE_STATUS_INVALID_ARGUMENT = 22    /* a null pointer or an unknown instance */
};

/* Files larger than this are refused before anything is read. */
#define QVCORE_MAX_FILE_SIZE (16 * 1024 * 1024)

/* The highest kiosk file version this library opens. */
#define QVCORE_SUPPORTED_KIOSK_FILE_VERSION 3

typedef struct QVCoreInstance QVCoreInstance;

/* The three strings identify the caller; any non-null text is accepted ("ANY").
   Returns null when any of them is null or the library could not initialise. */
QVCORE_EXPORT QVCoreInstance *QVCoreCreateInstance(const char *application,
                                                   const char *edition,
                                                   const char *licence);

/* Releases *instance and sets it to null. Unknown or already released instances are ignored. */
QVCORE_EXPORT void QVCoreReleaseInstance(QVCoreInstance **instance);

/* -1 with *isKioskFile true: a kiosk controller file; -1 with false: a readable file of another
   kind (not JSON, or its "format" is not "qvksk"); otherwise the error status. */
QVCORE_EXPORT int32_t QVCoreIsQVKIOSKControllerFile(const char *path, bool *isKioskFile);

/* QVCORE_SUPPORTED_KIOSK_FILE_VERSION, or 0 for an unknown instance. */
QVCORE_EXPORT int32_t QVCoreGetConstantskQVCKioskFileVersion(const QVCoreInstance *instance);

/* -1 and *version set when path names a kiosk file; 13 for a file of another kind. Files of any
   version answer, also those newer than this library opens. */
QVCORE_EXPORT int32_t QVCoreGetBqvcFileVersion(const QVCoreInstance *instance,
                                               const char *path,
                                               int32_t *version);

/* true when path names a valid kiosk file of a version this library opens; then both out values
   are set. Otherwise false and both are left as they were. */
QVCORE_EXPORT bool QVCoreGetBqvcFileOperation(const char *path,
                                              bool *powerUserPermitted,
                                              int32_t *fileOperation);

/* true when the check ran (the file is as QVCoreGetBqvcFileOperation requires). Then
   *authenticated says whether code opens the file at level (1 Administrator, 2 Power User; any
   other level never), and *powerUserPermitted and *fileOperation are replaced by the file's
   current values, so a caller sees the state the decision was made on even when the file changed
   after its query. On false all three are left as they were. */
QVCORE_EXPORT bool QVCoreCheckBqvcFilePassCodeAndFileOperation(const char *path,
                                                               const char *code,
                                                               int32_t level,
                                                               bool *authenticated,
                                                               bool *powerUserPermitted,
                                                               int32_t *fileOperation);

#ifdef __cplusplus
}
#endif
