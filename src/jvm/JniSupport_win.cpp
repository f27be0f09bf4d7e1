#include "jvm/JniSupport_win.h"

#include <algorithm>
#include <climits>

std::wstring dottedClassName(std::wstring name)
{
    std::replace(name.begin(), name.end(), L'/', L'.');
    return name;
}


std::string modifiedUtf8Of(const std::wstring& text, JNIEnv* env)
{
    jstring string = newJavaString(text, env);
    const char* utf8 = string != nullptr ? env->GetStringUTFChars(string, nullptr) : nullptr;
    std::string result = utf8 != nullptr ? utf8 : "";
    if (utf8 != nullptr) {
        env->ReleaseStringUTFChars(string, utf8);
    }
    if (string != nullptr) {
        env->DeleteLocalRef(string);
    }
    return result;
}

jclass findClassNamed(const std::wstring& slashName, JNIEnv* env)
{
    const std::string utf8Name = modifiedUtf8Of(slashName, env);
    return utf8Name.empty() ? nullptr : env->FindClass(utf8Name.c_str());
}

bool describePendingException(JNIEnv* env)
{
    if (env->ExceptionOccurred() == nullptr) {
        return false;
    }
    env->ExceptionDescribe();
    return true;
}


jobject newPrintStream(jobject output, JNIEnv* env)
{
    jclass printStreamClass = env->FindClass("java/io/PrintStream");
    jmethodID printStreamInit =
        printStreamClass != nullptr ? env->GetMethodID(printStreamClass, "<init>", "(Ljava/io/OutputStream;)V") : nullptr;
    return printStreamInit != nullptr ? env->NewObject(printStreamClass, printStreamInit, output) : nullptr;
}


jstring newJavaString(const std::wstring& text, JNIEnv* env)
{
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        return nullptr;
    }
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    jmethodID constructor = env->GetMethodID(stringClass, "<init>", "([C)V");
    if (constructor == nullptr) {
        return nullptr;
    }
    const jsize length = static_cast<jsize>(text.size());
    jcharArray characters = env->NewCharArray(length);
    if (characters == nullptr) {
        return nullptr;
    }
    static_assert(sizeof(wchar_t) == sizeof(jchar), "Windows wide characters are UTF-16 units");
    env->SetCharArrayRegion(characters, 0, length, reinterpret_cast<const jchar*>(text.data()));
    jstring result = nullptr;
    if (env->ExceptionOccurred() == nullptr) {
        result = static_cast<jstring>(env->NewObject(stringClass, constructor, characters));
    }
    env->DeleteLocalRef(characters);
    return result;
}


jobjectArray newJavaStringArray(const std::vector<std::wstring>& texts, JNIEnv* env)
{
    if (texts.size() > static_cast<std::size_t>(INT_MAX)) {
        return nullptr;
    }
    jclass stringClass = env->FindClass("java/lang/String");
    if (stringClass == nullptr) {
        return nullptr;
    }
    jobjectArray array = env->NewObjectArray(static_cast<jsize>(texts.size()), stringClass, nullptr);
    if (array == nullptr) {
        return nullptr;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        jstring text = newJavaString(texts[i], env);
        if (text == nullptr) {
            return nullptr;
        }
        env->SetObjectArrayElement(array, static_cast<jsize>(i), text);
        env->DeleteLocalRef(text);
    }
    return array;
}

void endThroughRuntime(const char* method, int code, JNIEnv* env)
{
    jclass runtimeClass = env->FindClass("java/lang/Runtime");
    jmethodID getRuntime =
        runtimeClass != nullptr ? env->GetStaticMethodID(runtimeClass, "getRuntime", "()Ljava/lang/Runtime;") : nullptr;
    jobject runtime = getRuntime != nullptr ? env->CallStaticObjectMethod(runtimeClass, getRuntime) : nullptr;
    jmethodID end = runtime != nullptr ? env->GetMethodID(runtimeClass, method, "(I)V") : nullptr;
    if (end != nullptr) {
        env->CallVoidMethod(runtime, end, static_cast<jint>(code));
    }
    describePendingException(env);
}
