#pragma once
// Ids of the string-table entries (the user-visible texts of the launcher).
// Shared by the resource script, the code and the tests; plain macros because
// the resource compiler reads this file too.

#define IDS_WINDOWS_EXCEPTION 202
#define IDS_JNI_EXCEPTION_REASON 203
#define IDS_COM_ERROR 204
#define IDS_JNI_EXCEPTION 205
#define IDS_JRE_NOT_FOUND_SERVER 206
#define IDS_JRE_NOT_FOUND 207
#define IDS_MODULE_PATH_FAILED 208
#define IDS_CLASS_PATH_MISSING 209
#define IDS_MAIN_CLASS_MISSING 210
#define IDS_MAIN_CLASS_LOAD_FAILED 211
#define IDS_CREATE_JAVA_VM_MISSING 212
#define IDS_CREATE_VM_FAILED 213
#define IDS_BROWSE_FOR_JRE 214
#define IDS_MAIN_CLASS_NOT_FOUND 215
#define IDS_NO_MAIN_METHOD 216
#define IDS_VERSION_LATEST 217
#define IDS_VERSION_MAXIMUM 218
#define IDS_VERSION_MINIMUM 219
#define IDS_VERSION_REQUIRED 220
#define IDS_VERSION_BETWEEN 221
#define IDS_JVM_LOAD_FAILED 222
#define IDS_FAILED_TO_INITIALIZE 223
#define IDS_FAILED_TO_INITIALIZE_MODULE 224
#define IDS_JNI_ERR 225
#define IDS_JNI_EDETACHED 226
#define IDS_JNI_EVERSION 227
#define IDS_JNI_ENOMEM 228
#define IDS_JNI_EEXIST 229
#define IDS_JNI_EINVAL 230
// Texts of the launcher's own, beyond those above.
#define IDS_START_FAILED 240
#define IDS_VM_THREAD_FAILED 241
#define IDS_TEXT_NOT_PASSABLE 242
