// Method signatures for the variadic Call*Method/NewObject forms: recorded at
// GetMethodID/GetStaticMethodID, asked of reflection otherwise, and used to
// turn a Windows va_list into a jvalue array.
#include "Bridge.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>

namespace hsbridge {
namespace {

// Parameter kinds, one letter per parameter: the JNI base type letters, with
// 'L' for every reference (objects and arrays).
using ParameterKinds = std::string;

std::mutex signaturesMutex;
std::unordered_map<jmethodID, ParameterKinds> signatures;

bool parseParameterKinds(const char* signature, ParameterKinds& kinds) {
    kinds.clear();
    const char* p = signature;
    if (*p++ != '(') return false;
    while (*p != ')') {
        bool array = false;
        while (*p == '[') {
            array = true;
            ++p;
        }
        switch (*p) {
        case 'Z': case 'B': case 'C': case 'S': case 'I': case 'J': case 'F': case 'D':
            kinds.push_back(array ? 'L' : *p);
            ++p;
            break;
        case 'L':
            p = std::strchr(p, ';');
            if (p == nullptr) return false;
            kinds.push_back('L');
            ++p;
            break;
        default:
            return false;
        }
    }
    return true;
}

bool lookup(jmethodID method, ParameterKinds& kinds) {
    std::lock_guard<std::mutex> lock(signaturesMutex);
    auto it = signatures.find(method);
    if (it == signatures.end()) return false;
    kinds = it->second;
    return true;
}

char kindOfPrimitive(const char* name) {
    static const struct { const char* name; char kind; } kTable[] = {
        {"boolean", 'Z'}, {"byte", 'B'}, {"char", 'C'}, {"short", 'S'},
        {"int", 'I'}, {"long", 'J'}, {"float", 'F'}, {"double", 'D'},
    };
    for (const auto& row : kTable) {
        if (std::strcmp(row.name, name) == 0) return row.kind;
    }
    return 0;
}

// Asks java.lang.reflect for the parameter types of a method ID the bridge has
// not seen being looked up (for example one from FromReflectedMethod).
bool kindsByReflection(JNIEnv* env, jobject target, jmethodID method, CallTarget how,
                       ParameterKinds& kinds) {
    jclass cls = how == CallTarget::InstanceObject ? env->GetObjectClass(target)
                                                   : static_cast<jclass>(target);
    if (cls == nullptr) return false;
    jobject executable = env->ToReflectedMethod(cls, method, how == CallTarget::StaticClass);
    if (executable == nullptr) return false;
    jclass executableClass = env->FindClass("java/lang/reflect/Executable");
    jclass classClass = env->FindClass("java/lang/Class");
    if (executableClass == nullptr || classClass == nullptr) return false;
    jmethodID getParameterTypes =
        env->GetMethodID(executableClass, "getParameterTypes", "()[Ljava/lang/Class;");
    jmethodID isPrimitive = env->GetMethodID(classClass, "isPrimitive", "()Z");
    jmethodID getName = env->GetMethodID(classClass, "getName", "()Ljava/lang/String;");
    if (getParameterTypes == nullptr || isPrimitive == nullptr || getName == nullptr) return false;
    auto types = static_cast<jobjectArray>(env->CallObjectMethodA(executable, getParameterTypes, nullptr));
    if (types == nullptr) return false;
    kinds.clear();
    const jsize count = env->GetArrayLength(types);
    for (jsize i = 0; i < count; ++i) {
        jobject type = env->GetObjectArrayElement(types, i);
        if (!env->CallBooleanMethodA(type, isPrimitive, nullptr)) {
            kinds.push_back('L');
            continue;
        }
        auto name = static_cast<jstring>(env->CallObjectMethodA(type, getName, nullptr));
        const char* chars = env->GetStringUTFChars(name, nullptr);
        if (chars == nullptr) return false;
        const char kind = kindOfPrimitive(chars);
        env->ReleaseStringUTFChars(name, chars);
        if (kind == 0) return false;
        kinds.push_back(kind);
    }
    return !env->ExceptionCheck();
}

}  // namespace

void recordMethodSignature(jmethodID method, const char* signature) {
    ParameterKinds kinds;
    if (method == nullptr || signature == nullptr || !parseParameterKinds(signature, kinds)) return;
    std::lock_guard<std::mutex> lock(signaturesMutex);
    signatures[method] = kinds;
}

bool decodeArguments(JNIEnv* env, jobject target, jmethodID method, CallTarget how,
                     __builtin_ms_va_list args, ArgumentArray& out) {
    ParameterKinds kinds;
    if (!lookup(method, kinds)) {
        if (!kindsByReflection(env, target, method, how, kinds)) {
            if (!env->ExceptionCheck()) {
                jclass error = env->FindClass("java/lang/InternalError");
                if (error != nullptr) env->ThrowNew(error, "jvm.dll bridge: unknown method signature");
            }
            return false;
        }
        std::lock_guard<std::mutex> lock(signaturesMutex);
        signatures[method] = kinds;
    }
    // A Windows va_list is a pointer to consecutive 8-byte slots.
    const unsigned char* slot = reinterpret_cast<const unsigned char*>(args);
    out.resize(kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i, slot += 8) {
        std::uint64_t bits;
        std::memcpy(&bits, slot, sizeof bits);
        jvalue& value = out[i];
        value.j = 0;
        switch (kinds[i]) {
        case 'Z': value.z = static_cast<jboolean>(bits); break;
        case 'B': value.b = static_cast<jbyte>(bits); break;
        case 'C': value.c = static_cast<jchar>(bits); break;
        case 'S': value.s = static_cast<jshort>(bits); break;
        case 'I': value.i = static_cast<jint>(bits); break;
        case 'J': value.j = static_cast<jlong>(bits); break;
        case 'F': {
            double promoted;
            std::memcpy(&promoted, &bits, sizeof promoted);
            value.f = static_cast<jfloat>(promoted);
            break;
        }
        case 'D': std::memcpy(&value.d, &bits, sizeof value.d); break;
        default: value.l = reinterpret_cast<jobject>(static_cast<std::uintptr_t>(bits)); break;
        }
    }
    return true;
}

MSABI jmethodID custom_GetMethodID(WinEnv* env, jclass clazz, const char* name, const char* sig) {
    jmethodID method = env->real->GetMethodID(clazz, name, sig);
    recordMethodSignature(method, sig);
    return method;
}

MSABI jmethodID custom_GetStaticMethodID(WinEnv* env, jclass clazz, const char* name, const char* sig) {
    jmethodID method = env->real->GetStaticMethodID(clazz, name, sig);
    recordMethodSignature(method, sig);
    return method;
}

}  // namespace hsbridge
