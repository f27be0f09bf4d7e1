#include "jvm/ExceptionTrace_win.h"

#include <cstring>

#include "jvm/JniSupport_win.h"
#include "jvm/ModifiedUtf8.h"

std::wstring describeException(JNIEnv* env, jthrowable exception)
{
    env->ExceptionClear();
    if (exception == nullptr) {
        return std::wstring();
    }
    jclass byteStreamType = env->FindClass("java/io/ByteArrayOutputStream");
    if (byteStreamType == nullptr) {
        describePendingException(env);
        return std::wstring();
    }
    jmethodID byteStreamInit = env->GetMethodID(byteStreamType, "<init>", "()V");
    jobject byteStream = byteStreamInit != nullptr ? env->NewObject(byteStreamType, byteStreamInit) : nullptr;
    if (describePendingException(env) || byteStream == nullptr) {
        return std::wstring();
    }
    jobject printStream = newPrintStream(byteStream, env);
    if (describePendingException(env) || printStream == nullptr) {
        return std::wstring();
    }
    jclass exceptionType = env->GetObjectClass(exception);
    jmethodID printStackTrace =
        exceptionType != nullptr ? env->GetMethodID(exceptionType, "printStackTrace", "(Ljava/io/PrintStream;)V")
                                 : nullptr;
    if (printStackTrace == nullptr) {
        describePendingException(env);
        return std::wstring();
    }
    env->CallVoidMethod(exception, printStackTrace, printStream);
    describePendingException(env);

    jclass byteStreamClass = env->GetObjectClass(byteStream);
    jmethodID toString =
        byteStreamClass != nullptr ? env->GetMethodID(byteStreamClass, "toString", "()Ljava/lang/String;") : nullptr;
    if (toString == nullptr) {
        describePendingException(env);
        return std::wstring();
    }
    auto text = static_cast<jstring>(env->CallObjectMethod(byteStream, toString));
    if (describePendingException(env) || text == nullptr) {
        return std::wstring();
    }
    const char* bytes = env->GetStringUTFChars(text, nullptr);
    if (bytes == nullptr) {
        describePendingException(env);
        return std::wstring();
    }
    std::wstring trace = decodeModifiedUtf8(std::string_view(bytes, std::strlen(bytes)));
    env->ReleaseStringUTFChars(text, bytes);
    return trace;
}
