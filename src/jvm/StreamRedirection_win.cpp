#include "jvm/StreamRedirection_win.h"

#include <algorithm>

#include "jvm/DateTimePattern.h"
#include "jvm/JniSupport_win.h"
#include "util/Path_win.h"

namespace {

constexpr int kPictureLimit = 260;

std::optional<std::wstring> formatWith(int (WINAPI* format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int),
                                       const SYSTEMTIME& time, const std::wstring& picture)
{
    wchar_t buffer[kPictureLimit];
    const int length = format(LOCALE_USER_DEFAULT, 0, &time, picture.c_str(), buffer, kPictureLimit);
    if (length <= 0) {
        return std::nullopt;
    }
    return std::wstring(buffer, static_cast<std::size_t>(length - 1));
}

// Opens the file (its folders created first) and installs a print stream on it
// as System.out or System.err. False when a step fails; an exception may then
// be pending.
bool redirectStream(JNIEnv* env, const std::wstring& path, bool append, const char* target)
{
    createFolderPath(path);
    jstring name = newJavaString(path, env);
    if (name == nullptr) {
        return false;
    }
    jclass fileStreamClass = env->FindClass("java/io/FileOutputStream");
    jmethodID fileStreamInit =
        fileStreamClass != nullptr ? env->GetMethodID(fileStreamClass, "<init>", "(Ljava/lang/String;Z)V") : nullptr;
    if (fileStreamInit == nullptr) {
        return false;
    }
    jobject fileStream = env->NewObject(fileStreamClass, fileStreamInit, name, static_cast<jboolean>(append ? JNI_TRUE : JNI_FALSE));
    if (fileStream == nullptr) {
        return false;
    }
    jobject printStream = newPrintStream(fileStream, env);
    if (printStream == nullptr) {
        return false;
    }
    jclass system = env->FindClass("java/lang/System");
    jmethodID setter = system != nullptr ? env->GetStaticMethodID(system, target, "(Ljava/io/PrintStream;)V") : nullptr;
    if (setter == nullptr) {
        return false;
    }
    env->CallStaticVoidMethod(system, setter, printStream);
    return !describePendingException(env);
}

void redirect(JNIEnv* env, const std::wstring& path, bool append, const char* target)
{
    if (path.empty()) {
        return;
    }
    if (!redirectStream(env, path, append, target)) {
        // Printed on the stream that is still in place; the start goes on.
        describePendingException(env);
    }
}

} // namespace

void fillDateTimePatterns(std::initializer_list<std::wstring*> names)
{
    if (std::none_of(names.begin(), names.end(),
                     [](const std::wstring* name) { return name->find(L'%') != std::wstring::npos; })) {
        return;
    }
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const PictureFormatter formatTime = [&now](const std::wstring& picture) {
        return formatWith(::GetTimeFormatW, now, picture);
    };
    const PictureFormatter formatDate = [&now](const std::wstring& picture) {
        return formatWith(::GetDateFormatW, now, picture);
    };
    for (std::wstring* name : names) {
        if (name->find(L'%') != std::wstring::npos) {
            *name = expandDateTimePattern(*name, now.wMilliseconds, formatTime, formatDate);
        }
    }
}

std::wstring redirectStandardStreams(JNIEnv* env, StreamTargets targets)
{
    fillDateTimePatterns({&targets.outputFile, &targets.errorFile});
    redirect(env, targets.outputFile, targets.outputAppend, "setOut");
    redirect(env, targets.errorFile, targets.errorAppend, "setErr");
    return targets.errorFile;
}
