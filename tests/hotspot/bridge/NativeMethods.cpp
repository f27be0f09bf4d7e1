// RegisterNatives: HotSpot calls native methods with the System V convention
// and the real JNIEnv; the registered Windows functions expect the Microsoft
// convention and the wrapper. Each registered method gets a libffi closure
// that receives the System V call and repeats it as an FFI_WIN64 call.
#include "Bridge.h"

#include <ffi.h>

#include <cstring>
#include <vector>

namespace hsbridge {
namespace {

struct NativeTrampoline {
    ffi_cif unixCif;
    ffi_cif windowsCif;
    std::vector<ffi_type*> types;
    void* target = nullptr;
    ffi_closure* closure = nullptr;
    void* code = nullptr;
};

ffi_type* ffiTypeOf(char kind) {
    switch (kind) {
    case 'Z': return &ffi_type_uint8;
    case 'B': return &ffi_type_sint8;
    case 'C': return &ffi_type_uint16;
    case 'S': return &ffi_type_sint16;
    case 'I': return &ffi_type_sint32;
    case 'J': return &ffi_type_sint64;
    case 'F': return &ffi_type_float;
    case 'D': return &ffi_type_double;
    case 'V': return &ffi_type_void;
    default: return &ffi_type_pointer;
    }
}

// Parses "(args)ret" into ffi types: JNIEnv*, jobject/jclass, then the
// parameters; the return type last. Returns false on a malformed signature.
bool ffiTypesOf(const char* signature, std::vector<ffi_type*>& types, ffi_type*& result) {
    types.assign({&ffi_type_pointer, &ffi_type_pointer});
    const char* p = signature;
    if (*p++ != '(') return false;
    for (bool inParameters = true;;) {
        if (inParameters && *p == ')') {
            inParameters = false;
            ++p;
            continue;
        }
        bool array = false;
        while (*p == '[') {
            array = true;
            ++p;
        }
        char kind = *p;
        if (kind == 'L') {
            p = std::strchr(p, ';');
            if (p == nullptr) return false;
        } else if (std::strchr(inParameters ? "ZBCSIJFD" : "ZBCSIJFDV", kind) == nullptr || kind == 0) {
            return false;
        }
        ++p;
        ffi_type* type = array ? &ffi_type_pointer : ffiTypeOf(kind);
        if (!inParameters) {
            result = type;
            return *p == 0;
        }
        types.push_back(type);
    }
}

void forwardNativeCall(ffi_cif*, void* result, void** args, void* data) {
    auto* trampoline = static_cast<NativeTrampoline*>(data);
    std::vector<void*> windowsArgs(args, args + trampoline->types.size());
    WinEnv* env = wrapEnv(*static_cast<JNIEnv**>(args[0]));
    windowsArgs[0] = &env;
    ffi_call(&trampoline->windowsCif, FFI_FN(trampoline->target), result, windowsArgs.data());
}

// Builds a closure for one method; it lives as long as the process, because
// HotSpot may call the method until the class is unloaded.
void* makeTrampoline(const JNINativeMethod& method) {
    auto* trampoline = new NativeTrampoline;
    ffi_type* result = nullptr;
    if (method.signature == nullptr || !ffiTypesOf(method.signature, trampoline->types, result)) {
        delete trampoline;
        return nullptr;
    }
    trampoline->target = method.fnPtr;
    const auto count = static_cast<unsigned>(trampoline->types.size());
    trampoline->closure = static_cast<ffi_closure*>(ffi_closure_alloc(sizeof(ffi_closure), &trampoline->code));
    if (trampoline->closure == nullptr ||
        ffi_prep_cif(&trampoline->unixCif, FFI_DEFAULT_ABI, count, result, trampoline->types.data()) != FFI_OK ||
        ffi_prep_cif(&trampoline->windowsCif, FFI_WIN64, count, result, trampoline->types.data()) != FFI_OK ||
        ffi_prep_closure_loc(trampoline->closure, &trampoline->unixCif, forwardNativeCall, trampoline,
                             trampoline->code) != FFI_OK) {
        if (trampoline->closure != nullptr) ffi_closure_free(trampoline->closure);
        delete trampoline;
        return nullptr;
    }
    return trampoline->code;
}

}  // namespace

MSABI jint custom_RegisterNatives(WinEnv* env, jclass clazz, const JNINativeMethod* methods, jint nMethods) {
    if (nMethods < 0 || (nMethods > 0 && methods == nullptr)) return JNI_ERR;
    std::vector<JNINativeMethod> unixMethods(methods, methods + nMethods);
    for (auto& method : unixMethods) {
        method.fnPtr = makeTrampoline(method);
        if (method.fnPtr == nullptr) {
            jclass error = env->real->FindClass("java/lang/NoSuchMethodError");
            if (error != nullptr) env->real->ThrowNew(error, method.name != nullptr ? method.name : "");
            return JNI_ERR;
        }
    }
    return env->real->RegisterNatives(clazz, unixMethods.data(), nMethods);
}

}  // namespace hsbridge
