// The JNI environment and invocation tables of the test runtime and its exports.
// Every call is checked for the misuses a launcher could commit (another
// thread's JNIEnv, a mismatched method ID or Call function); each is logged as
// an "error" line. Functions the launcher has no reason to call end the
// process through FatalError, naming their table slot.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

#include "TestRuntime.h"

namespace {

const JNINativeInterface_* envTable();
const JNIInvokeInterface_* invokeTable();

struct ThreadState {
    JNIEnv_ env;
    bool attached;
};

// Never freed, so that a JNIEnv used after its thread ended is still recognised as foreign.
ThreadState& currentThread()
{
    thread_local ThreadState* state = new ThreadState{JNIEnv_{envTable()}, false};
    return *state;
}
JavaVM_ gVm{invokeTable()};
bool gCreated = false;
bool gDestroyed = false;

void error(const std::string& text) { logLine("error", text); }

void useEnv(JNIEnv* env, const char* function)
{
    if (env != &currentThread().env) {
        error(std::string(function) + ": the JNIEnv of another thread was used");
    } else if (!currentThread().attached) {
        error(std::string(function) + ": the calling thread is not attached");
    }
}

jclass classRef(const JavaClass* cls) { return cls ? asRef<jclass>(const_cast<JavaObject*>(&cls->object)) : nullptr; }

const JavaClass* classOf(jclass ref, const char* function)
{
    const JavaClass* cls = ref ? asObject(ref)->classValue : nullptr;
    if (!cls) {
        error(std::string(function) + ": not a class");
    }
    return cls;
}

bool isSubclass(const JavaClass* sub, const JavaClass* sup)
{
    for (; sub; sub = sub->super) {
        if (sub == sup) {
            return true;
        }
    }
    return false;
}

std::string hex(jint value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lx", static_cast<unsigned long>(value));
    return text;
}

bool supportedVersion(jint version)
{
    for (jint v : {JNI_VERSION_1_2, JNI_VERSION_1_4, JNI_VERSION_1_6, JNI_VERSION_1_8, JNI_VERSION_9, JNI_VERSION_10}) {
        if (version == v) {
            return true;
        }
    }
    return false;
}

bool inBounds(std::size_t size, jsize start, jsize len)
{
    if (start < 0 || len < 0 || static_cast<std::size_t>(start) + static_cast<std::size_t>(len) > size) {
        throwNew("java/lang/ArrayIndexOutOfBoundsException", u"");
        return false;
    }
    return true;
}

// ---- unsupported slots ----

template <std::size_t Slot>
void JNICALL unsupported()
{
    fatalError("unsupported JNI function in slot " + std::to_string(Slot));
}

// ---- method calls ----

// One letter per parameter of a method descriptor, 'L' for every reference.
std::string parameterKinds(const std::string& sig)
{
    std::string kinds;
    for (std::size_t i = 1; i < sig.size() && sig[i] != ')'; ++i) {
        while (sig[i] == '[') {
            ++i;
        }
        bool reference = sig[i] == 'L' || sig[i - 1] == '[';
        if (sig[i] == 'L') {
            i = sig.find(';', i);
        }
        kinds += reference ? 'L' : sig[i];
    }
    return kinds;
}

std::vector<jvalue> readArguments(const JavaMethod* m, const jvalue* array, va_list* list)
{
    std::string kinds = parameterKinds(m->signature);
    if (array) {
        return std::vector<jvalue>(array, array + kinds.size());
    }
    std::vector<jvalue> values;
    for (char kind : kinds) {
        jvalue v{};
        switch (kind) {
        case 'Z': v.z = static_cast<jboolean>(va_arg(*list, int)); break;
        case 'B': v.b = static_cast<jbyte>(va_arg(*list, int)); break;
        case 'C': v.c = static_cast<jchar>(va_arg(*list, int)); break;
        case 'S': v.s = static_cast<jshort>(va_arg(*list, int)); break;
        case 'I': v.i = va_arg(*list, jint); break;
        case 'J': v.j = va_arg(*list, jlong); break;
        case 'F': v.f = static_cast<jfloat>(va_arg(*list, double)); break;
        case 'D': v.d = va_arg(*list, double); break;
        default: v.l = va_arg(*list, jobject); break;
        }
        values.push_back(v);
    }
    return values;
}

template <typename R>
constexpr char resultKind()
{
    if constexpr (std::is_void_v<R>) {
        return 'V';
    } else if constexpr (std::is_same_v<R, jobject>) {
        return 'L';
    } else if constexpr (std::is_same_v<R, jboolean>) {
        return 'Z';
    } else if constexpr (std::is_same_v<R, jbyte>) {
        return 'B';
    } else if constexpr (std::is_same_v<R, jchar>) {
        return 'C';
    } else if constexpr (std::is_same_v<R, jshort>) {
        return 'S';
    } else if constexpr (std::is_same_v<R, jint>) {
        return 'I';
    } else if constexpr (std::is_same_v<R, jlong>) {
        return 'J';
    } else if constexpr (std::is_same_v<R, jfloat>) {
        return 'F';
    } else {
        return 'D';
    }
}

template <typename R>
R resultAs(jvalue v)
{
    if constexpr (std::is_void_v<R>) {
        (void)v;
    } else if constexpr (std::is_same_v<R, jobject>) {
        return v.l;
    } else if constexpr (std::is_same_v<R, jboolean>) {
        return v.z;
    } else if constexpr (std::is_same_v<R, jbyte>) {
        return v.b;
    } else if constexpr (std::is_same_v<R, jchar>) {
        return v.c;
    } else if constexpr (std::is_same_v<R, jshort>) {
        return v.s;
    } else if constexpr (std::is_same_v<R, jint>) {
        return v.i;
    } else if constexpr (std::is_same_v<R, jlong>) {
        return v.j;
    } else if constexpr (std::is_same_v<R, jfloat>) {
        return v.f;
    } else {
        return v.d;
    }
}

const JavaMethod* checkedMethod(const char* function, jmethodID id, bool isStatic, char kind)
{
    const auto* m = reinterpret_cast<const JavaMethod*>(id);
    if (!m) {
        error(std::string(function) + ": null method ID");
        return nullptr;
    }
    std::string what = m->owner->name + "." + m->name + m->signature;
    char declared = m->signature[m->signature.find(')') + 1];
    if (m->isStatic != isStatic) {
        error(std::string(function) + ": " + what + (isStatic ? " is not static" : " is static"));
    } else if ((declared == '[' ? 'L' : declared) != kind) {
        error(std::string(function) + ": " + what + " called through the Call function for " + kind);
    }
    return m;
}

template <typename R>
R run(JNIEnv* env, const char* function, bool isStatic, jobject self, jclass cls, jmethodID id, const jvalue* array,
    va_list* list)
{
    useEnv(env, function);
    const JavaMethod* m = checkedMethod(function, id, isStatic, resultKind<R>());
    if (!m) {
        return resultAs<R>(jvalue{});
    }
    if (isStatic && !isSubclass(classOf(cls, function), m->owner)) {
        error(std::string(function) + ": the class does not have " + m->name);
    } else if (!isStatic && !isInstance(asObject(self), m->owner)) {
        error(std::string(function) + ": the object does not have " + m->name);
    }
    std::vector<jvalue> args = readArguments(m, array, list);
    return resultAs<R>(m->impl(asObject(self), args.data()));
}

template <typename R>
R JNICALL callV(JNIEnv* env, jobject obj, jmethodID id, va_list args)
{
    return run<R>(env, "CallMethod", false, obj, nullptr, id, nullptr, &args);
}

template <typename R>
R JNICALL callA(JNIEnv* env, jobject obj, jmethodID id, const jvalue* args)
{
    return run<R>(env, "CallMethod", false, obj, nullptr, id, args, nullptr);
}

template <typename R>
R JNICALL call(JNIEnv* env, jobject obj, jmethodID id, ...)
{
    va_list args;
    va_start(args, id);
    if constexpr (std::is_void_v<R>) {
        run<R>(env, "CallMethod", false, obj, nullptr, id, nullptr, &args);
        va_end(args);
    } else {
        R result = run<R>(env, "CallMethod", false, obj, nullptr, id, nullptr, &args);
        va_end(args);
        return result;
    }
}

template <typename R>
R JNICALL callStaticV(JNIEnv* env, jclass cls, jmethodID id, va_list args)
{
    return run<R>(env, "CallStaticMethod", true, nullptr, cls, id, nullptr, &args);
}

template <typename R>
R JNICALL callStaticA(JNIEnv* env, jclass cls, jmethodID id, const jvalue* args)
{
    return run<R>(env, "CallStaticMethod", true, nullptr, cls, id, args, nullptr);
}

template <typename R>
R JNICALL callStatic(JNIEnv* env, jclass cls, jmethodID id, ...)
{
    va_list args;
    va_start(args, id);
    if constexpr (std::is_void_v<R>) {
        run<R>(env, "CallStaticMethod", true, nullptr, cls, id, nullptr, &args);
        va_end(args);
    } else {
        R result = run<R>(env, "CallStaticMethod", true, nullptr, cls, id, nullptr, &args);
        va_end(args);
        return result;
    }
}

jobject constructObject(JNIEnv* env, jclass cls, jmethodID id, const jvalue* array, va_list* list)
{
    useEnv(env, "NewObject");
    const JavaClass* target = classOf(cls, "NewObject");
    const JavaMethod* m = checkedMethod("NewObject", id, false, 'V');
    if (!m || !target) {
        return nullptr;
    }
    if (m->name != "<init>" || m->owner != target) {
        error("NewObject: " + m->name + m->signature + " is not a constructor of " + target->name);
    }
    JavaObject* obj = newObject(target);
    std::vector<jvalue> args = readArguments(m, array, list);
    m->impl(obj, args.data());
    return pendingException() ? nullptr : asRef<jobject>(obj);
}

jobject JNICALL newObjectV(JNIEnv* env, jclass cls, jmethodID id, va_list args)
{
    return constructObject(env, cls, id, nullptr, &args);
}

jobject JNICALL newObjectA(JNIEnv* env, jclass cls, jmethodID id, const jvalue* args)
{
    return constructObject(env, cls, id, args, nullptr);
}

jobject JNICALL newObjectVariadic(JNIEnv* env, jclass cls, jmethodID id, ...)
{
    va_list args;
    va_start(args, id);
    jobject result = constructObject(env, cls, id, nullptr, &args);
    va_end(args);
    return result;
}

// ---- classes and methods ----

jclass JNICALL findClassJni(JNIEnv* env, const char* name)
{
    useEnv(env, "FindClass");
    logLine("findclass", name ? name : "null");
    const JavaClass* cls = name ? findClass(name) : nullptr;
    if (!cls) {
        logLine("notfound", name ? name : "null");
        throwNew("java/lang/NoClassDefFoundError", utf16FromModifiedUtf8(name ? name : ""));
    }
    return classRef(cls);
}

jclass JNICALL getSuperclass(JNIEnv* env, jclass cls)
{
    useEnv(env, "GetSuperclass");
    const JavaClass* c = classOf(cls, "GetSuperclass");
    return c ? classRef(c->super) : nullptr;
}

jboolean JNICALL isAssignableFrom(JNIEnv* env, jclass sub, jclass sup)
{
    useEnv(env, "IsAssignableFrom");
    return isSubclass(classOf(sub, "IsAssignableFrom"), classOf(sup, "IsAssignableFrom"));
}

jclass JNICALL getObjectClass(JNIEnv* env, jobject obj)
{
    useEnv(env, "GetObjectClass");
    if (!obj) {
        error("GetObjectClass: null object");
        return nullptr;
    }
    return classRef(asObject(obj)->cls);
}

jboolean JNICALL isInstanceOf(JNIEnv* env, jobject obj, jclass cls)
{
    useEnv(env, "IsInstanceOf");
    return !obj || isInstance(asObject(obj), classOf(cls, "IsInstanceOf"));
}

jmethodID lookUpMethod(JNIEnv* env, jclass cls, const char* name, const char* sig, bool isStatic)
{
    const char* function = isStatic ? "GetStaticMethodID" : "GetMethodID";
    useEnv(env, function);
    const JavaClass* c = classOf(cls, function);
    std::string what = (c ? c->name : "null") + " " + name + " " + sig;
    logLine(isStatic ? "staticmethod" : "method", what);
    const JavaMethod* m = c ? findMethod(c, name, sig, isStatic) : nullptr;
    if (!m) {
        logLine("nosuchmethod", what);
        if (gSteering.yes("nosuchmethod.exception", true)) {
            throwNew("java/lang/NoSuchMethodError", utf16FromModifiedUtf8(name));
        }
    }
    return reinterpret_cast<jmethodID>(const_cast<JavaMethod*>(m));
}

jmethodID JNICALL getMethodId(JNIEnv* env, jclass cls, const char* name, const char* sig)
{
    return lookUpMethod(env, cls, name, sig, false);
}

jmethodID JNICALL getStaticMethodId(JNIEnv* env, jclass cls, const char* name, const char* sig)
{
    return lookUpMethod(env, cls, name, sig, true);
}

jobject JNICALL allocObject(JNIEnv* env, jclass cls)
{
    useEnv(env, "AllocObject");
    const JavaClass* c = classOf(cls, "AllocObject");
    return c ? asRef<jobject>(newObject(c)) : nullptr;
}

// ---- exceptions ----

jint JNICALL throwJni(JNIEnv* env, jthrowable obj)
{
    useEnv(env, "Throw");
    pendingException() = asObject(obj);
    return JNI_OK;
}

jint JNICALL throwNewJni(JNIEnv* env, jclass cls, const char* message)
{
    useEnv(env, "ThrowNew");
    const JavaClass* c = classOf(cls, "ThrowNew");
    throwNew(c ? c->name : "java/lang/Throwable", utf16FromModifiedUtf8(message ? message : ""));
    return JNI_OK;
}

jthrowable JNICALL exceptionOccurred(JNIEnv* env)
{
    useEnv(env, "ExceptionOccurred");
    return asRef<jthrowable>(pendingException());
}

void JNICALL exceptionDescribe(JNIEnv* env)
{
    useEnv(env, "ExceptionDescribe");
    JavaObject* pending = std::exchange(pendingException(), nullptr);
    if (pending) {
        logLine("describe", pending->cls->name + ": " + utf8FromUtf16(pending->text));
        printStackTrace(pending, systemErr());
    }
}

void JNICALL exceptionClear(JNIEnv* env)
{
    useEnv(env, "ExceptionClear");
    pendingException() = nullptr;
}

jboolean JNICALL exceptionCheck(JNIEnv* env)
{
    useEnv(env, "ExceptionCheck");
    return pendingException() != nullptr;
}

void JNICALL fatalErrorJni(JNIEnv*, const char* message) { fatalError(message ? message : ""); }

// ---- references: objects live until the process ends ----

jobject JNICALL sameRef(JNIEnv* env, jobject obj)
{
    useEnv(env, "NewRef");
    return obj;
}

void JNICALL dropRef(JNIEnv* env, jobject)
{
    useEnv(env, "DeleteRef");
}

jint JNICALL reserveRefs(JNIEnv* env, jint)
{
    useEnv(env, "LocalCapacity");
    return JNI_OK;
}

jint JNICALL monitor(JNIEnv* env, jobject)
{
    useEnv(env, "Monitor");
    return JNI_OK;
}

jboolean JNICALL isSameObject(JNIEnv* env, jobject a, jobject b)
{
    useEnv(env, "IsSameObject");
    return a == b;
}

jobjectRefType JNICALL getObjectRefType(JNIEnv* env, jobject obj)
{
    useEnv(env, "GetObjectRefType");
    return obj ? JNILocalRefType : JNIInvalidRefType;
}

jint JNICALL getVersion(JNIEnv* env)
{
    useEnv(env, "GetVersion");
    return JNI_VERSION_1_8;
}

jint JNICALL getJavaVm(JNIEnv* env, JavaVM** vm)
{
    useEnv(env, "GetJavaVM");
    *vm = &gVm;
    return JNI_OK;
}

// ---- strings ----

const std::u16string& textOf(jobject str, const char* function)
{
    static const std::u16string empty;
    if (!str) {
        error(std::string(function) + ": null string");
    }
    return str ? asObject(str)->text : empty;
}

jstring JNICALL newStringJni(JNIEnv* env, const jchar* chars, jsize len)
{
    useEnv(env, "NewString");
    return asRef<jstring>(newString(std::u16string(reinterpret_cast<const char16_t*>(chars), len)));
}

jsize JNICALL getStringLength(JNIEnv* env, jstring str)
{
    useEnv(env, "GetStringLength");
    return static_cast<jsize>(textOf(str, "GetStringLength").size());
}

const jchar* JNICALL getStringChars(JNIEnv* env, jstring str, jboolean* isCopy)
{
    useEnv(env, "GetStringChars");
    const std::u16string& text = textOf(str, "GetStringChars");
    auto* copy = new jchar[text.size() + 1];
    std::memcpy(copy, text.c_str(), (text.size() + 1) * sizeof(jchar));
    if (isCopy) {
        *isCopy = JNI_TRUE;
    }
    return copy;
}

void JNICALL releaseStringChars(JNIEnv* env, jstring, const jchar* chars)
{
    useEnv(env, "ReleaseStringChars");
    delete[] chars;
}

jstring JNICALL newStringUtf(JNIEnv* env, const char* utf)
{
    useEnv(env, "NewStringUTF");
    return utf ? asRef<jstring>(newString(utf16FromModifiedUtf8(utf))) : nullptr;
}

jsize JNICALL getStringUtfLength(JNIEnv* env, jstring str)
{
    useEnv(env, "GetStringUTFLength");
    return static_cast<jsize>(modifiedUtf8FromUtf16(textOf(str, "GetStringUTFLength")).size());
}

const char* JNICALL getStringUtfChars(JNIEnv* env, jstring str, jboolean* isCopy)
{
    useEnv(env, "GetStringUTFChars");
    std::string utf = modifiedUtf8FromUtf16(textOf(str, "GetStringUTFChars"));
    auto* copy = static_cast<char*>(std::malloc(utf.size() + 1));
    std::memcpy(copy, utf.c_str(), utf.size() + 1);
    if (isCopy) {
        *isCopy = JNI_TRUE;
    }
    return copy;
}

void JNICALL releaseStringUtfChars(JNIEnv* env, jstring, const char* chars)
{
    useEnv(env, "ReleaseStringUTFChars");
    std::free(const_cast<char*>(chars));
}

void JNICALL getStringRegion(JNIEnv* env, jstring str, jsize start, jsize len, jchar* buf)
{
    useEnv(env, "GetStringRegion");
    const std::u16string& text = textOf(str, "GetStringRegion");
    if (inBounds(text.size(), start, len)) {
        std::memcpy(buf, text.data() + start, len * sizeof(jchar));
    }
}

void JNICALL getStringUtfRegion(JNIEnv* env, jstring str, jsize start, jsize len, char* buf)
{
    useEnv(env, "GetStringUTFRegion");
    const std::u16string& text = textOf(str, "GetStringUTFRegion");
    if (inBounds(text.size(), start, len)) {
        std::string utf = modifiedUtf8FromUtf16(text.substr(start, len));
        std::memcpy(buf, utf.c_str(), utf.size() + 1);
    }
}

// ---- arrays ----

bool isCharArray(const JavaObject* obj) { return obj->cls->name == "[C"; }

jsize JNICALL getArrayLength(JNIEnv* env, jarray array)
{
    useEnv(env, "GetArrayLength");
    JavaObject* obj = asObject(array);
    if (!obj) {
        error("GetArrayLength: null array");
        return 0;
    }
    return static_cast<jsize>(isCharArray(obj) ? obj->text.size() : obj->elements.size());
}

jobjectArray JNICALL newObjectArray(JNIEnv* env, jsize len, jclass cls, jobject init)
{
    useEnv(env, "NewObjectArray");
    if (len < 0 || !classOf(cls, "NewObjectArray")) {
        error("NewObjectArray: negative length or no element class");
        return nullptr;
    }
    JavaObject* array = newObject(findClass("[Ljava/lang/Object;"));
    array->elements.assign(static_cast<std::size_t>(len), asObject(init));
    return asRef<jobjectArray>(array);
}

jobject JNICALL getObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index)
{
    useEnv(env, "GetObjectArrayElement");
    JavaObject* obj = asObject(array);
    return inBounds(obj->elements.size(), index, 1) ? asRef<jobject>(obj->elements[index]) : nullptr;
}

void JNICALL setObjectArrayElement(JNIEnv* env, jobjectArray array, jsize index, jobject value)
{
    useEnv(env, "SetObjectArrayElement");
    JavaObject* obj = asObject(array);
    if (inBounds(obj->elements.size(), index, 1)) {
        obj->elements[index] = asObject(value);
    }
}

jcharArray JNICALL newCharArray(JNIEnv* env, jsize len)
{
    useEnv(env, "NewCharArray");
    if (len < 0) {
        error("NewCharArray: negative length");
        return nullptr;
    }
    JavaObject* array = newObject(findClass("[C"));
    array->text.assign(static_cast<std::size_t>(len), u'\0');
    return asRef<jcharArray>(array);
}

void JNICALL getCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize len, jchar* buf)
{
    useEnv(env, "GetCharArrayRegion");
    JavaObject* obj = asObject(array);
    if (inBounds(obj->text.size(), start, len)) {
        std::memcpy(buf, obj->text.data() + start, len * sizeof(jchar));
    }
}

void JNICALL setCharArrayRegion(JNIEnv* env, jcharArray array, jsize start, jsize len, const jchar* buf)
{
    useEnv(env, "SetCharArrayRegion");
    JavaObject* obj = asObject(array);
    if (inBounds(obj->text.size(), start, len)) {
        std::memcpy(&obj->text[start], buf, len * sizeof(jchar));
    }
}

// ---- the tables ----

template <std::size_t... Slot>
JNINativeInterface_ unsupportedTable(std::index_sequence<Slot...>)
{
    void* slots[] = {reinterpret_cast<void*>(&unsupported<Slot>)...};
    JNINativeInterface_ table;
    static_assert(sizeof slots == sizeof table, "one stub per slot");
    std::memcpy(static_cast<void*>(&table), slots, sizeof table);
    table.reserved0 = table.reserved1 = table.reserved2 = table.reserved3 = nullptr;
    return table;
}

#define TEST_RUNTIME_CALLS(Name, Type)              \
    t.Call##Name##Method = call<Type>;              \
    t.Call##Name##MethodV = callV<Type>;            \
    t.Call##Name##MethodA = callA<Type>;            \
    t.CallStatic##Name##Method = callStatic<Type>;  \
    t.CallStatic##Name##MethodV = callStaticV<Type>; \
    t.CallStatic##Name##MethodA = callStaticA<Type>

JNINativeInterface_ buildEnvTable()
{
    JNINativeInterface_ t = unsupportedTable(std::make_index_sequence<sizeof(JNINativeInterface_) / sizeof(void*)>());
    t.GetVersion = getVersion;
    t.FindClass = findClassJni;
    t.GetSuperclass = getSuperclass;
    t.IsAssignableFrom = isAssignableFrom;
    t.Throw = throwJni;
    t.ThrowNew = throwNewJni;
    t.ExceptionOccurred = exceptionOccurred;
    t.ExceptionDescribe = exceptionDescribe;
    t.ExceptionClear = exceptionClear;
    t.ExceptionCheck = exceptionCheck;
    t.FatalError = fatalErrorJni;
    t.PushLocalFrame = reserveRefs;
    t.PopLocalFrame = sameRef;
    t.EnsureLocalCapacity = reserveRefs;
    t.NewGlobalRef = sameRef;
    t.NewLocalRef = sameRef;
    t.NewWeakGlobalRef = sameRef;
    t.DeleteGlobalRef = dropRef;
    t.DeleteLocalRef = dropRef;
    t.DeleteWeakGlobalRef = dropRef;
    t.IsSameObject = isSameObject;
    t.GetObjectRefType = getObjectRefType;
    t.AllocObject = allocObject;
    t.NewObject = newObjectVariadic;
    t.NewObjectV = newObjectV;
    t.NewObjectA = newObjectA;
    t.GetObjectClass = getObjectClass;
    t.IsInstanceOf = isInstanceOf;
    t.GetMethodID = getMethodId;
    t.GetStaticMethodID = getStaticMethodId;
    TEST_RUNTIME_CALLS(Object, jobject);
    TEST_RUNTIME_CALLS(Boolean, jboolean);
    TEST_RUNTIME_CALLS(Byte, jbyte);
    TEST_RUNTIME_CALLS(Char, jchar);
    TEST_RUNTIME_CALLS(Short, jshort);
    TEST_RUNTIME_CALLS(Int, jint);
    TEST_RUNTIME_CALLS(Long, jlong);
    TEST_RUNTIME_CALLS(Float, jfloat);
    TEST_RUNTIME_CALLS(Double, jdouble);
    TEST_RUNTIME_CALLS(Void, void);
    t.NewString = newStringJni;
    t.GetStringLength = getStringLength;
    t.GetStringChars = getStringChars;
    t.ReleaseStringChars = releaseStringChars;
    t.GetStringCritical = getStringChars;
    t.ReleaseStringCritical = releaseStringChars;
    t.NewStringUTF = newStringUtf;
    t.GetStringUTFLength = getStringUtfLength;
    t.GetStringUTFChars = getStringUtfChars;
    t.ReleaseStringUTFChars = releaseStringUtfChars;
    t.GetStringRegion = getStringRegion;
    t.GetStringUTFRegion = getStringUtfRegion;
    t.GetArrayLength = getArrayLength;
    t.NewObjectArray = newObjectArray;
    t.GetObjectArrayElement = getObjectArrayElement;
    t.SetObjectArrayElement = setObjectArrayElement;
    t.NewCharArray = newCharArray;
    t.GetCharArrayRegion = getCharArrayRegion;
    t.SetCharArrayRegion = setCharArrayRegion;
    t.MonitorEnter = monitor;
    t.MonitorExit = monitor;
    t.GetJavaVM = getJavaVm;
    return t;
}

const JNINativeInterface_* envTable()
{
    static const JNINativeInterface_ table = buildEnvTable();
    return &table;
}

jint JNICALL destroyJavaVm(JavaVM*)
{
    logLine("destroy", threadIdText());
    joinNonDaemonThreads();
    runShutdownHook();
    gDestroyed = true;
    logLine("destroy.done", threadIdText());
    return JNI_OK;
}

jint attach(void** penv, const char* event)
{
    logLine(event, threadIdText());
    if (!gCreated || gDestroyed) {
        return JNI_ERR;
    }
    currentThread().attached = true;
    *penv = &currentThread().env;
    return JNI_OK;
}

jint JNICALL attachCurrentThread(JavaVM*, void** penv, void*) { return attach(penv, "attach"); }
jint JNICALL attachCurrentThreadAsDaemon(JavaVM*, void** penv, void*) { return attach(penv, "attach.daemon"); }

jint JNICALL detachCurrentThread(JavaVM*)
{
    logLine("detach", threadIdText());
    currentThread().attached = false;
    return JNI_OK;
}

jint JNICALL getEnv(JavaVM*, void** penv, jint)
{
    *penv = currentThread().attached ? &currentThread().env : nullptr;
    return currentThread().attached ? JNI_OK : JNI_EDETACHED;
}

const JNIInvokeInterface_* invokeTable()
{
    static const JNIInvokeInterface_ table{nullptr, nullptr, nullptr, destroyJavaVm, attachCurrentThread,
        detachCurrentThread, getEnv, attachCurrentThreadAsDaemon};
    return &table;
}

// Bytes of stack reserved for the calling thread.
std::string reservedStack()
{
    ULONG_PTR low = 0;
    ULONG_PTR high = 0;
    GetCurrentThreadStackLimits(&low, &high);
    return std::to_string(high - low);
}

std::string readFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string text;
    if (file == INVALID_HANDLE_VALUE) {
        return text;
    }
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        text.append(buffer, read);
    }
    CloseHandle(file);
    return text;
}

// Logs "env.<name>=<value>" when the variable is set.
void logEnvironmentVariable(const std::string& name)
{
    std::wstring wideName(name.begin(), name.end());
    DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        return;
    }
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(wideName.c_str(), &value[0], size));
    logLine("env." + name, utf8FromWide(value));
}

#ifdef TEST_RUNTIME_IMPORTS_CRT
extern "C" __declspec(dllimport) const char* jvmcrtIdentity();

// Which jvmcrt.dll the loader bound this library's import to: its identity
// and its path (a planted copy says "planted").
void logImportedCrt()
{
    HMODULE crt = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(&jvmcrtIdentity)), &crt);
    logLine("crt", std::string(jvmcrtIdentity()) + " " + utf8FromWide(modulePath(crt)));
}
#endif

jint createJavaVm(JavaVM** pvm, void** penv, void* args)
{
    logLine("create.elapsed", elapsedSinceProcessStart());
    logLine("create.thread", threadIdText());
    logLine("create.stack", reservedStack());
#ifdef TEST_RUNTIME_IMPORTS_CRT
    logImportedCrt();
#endif
    auto* init = static_cast<JavaVMInitArgs*>(args);
    if (!init) {
        logLine("create.result", std::to_string(JNI_EINVAL));
        return JNI_EINVAL;
    }
    logLine("create.version", hex(init->version));
    logLine("create.nOptions", std::to_string(init->nOptions));
    logLine("create.ignoreUnrecognized", std::to_string(init->ignoreUnrecognized));
    for (jint i = 0; i < init->nOptions; ++i) {
        const JavaVMOption& option = init->options[i];
        std::string text = option.optionString ? option.optionString : "";
        logLine("option", text);
        if (option.extraInfo) {
            logLine("extrainfo", text);
        }
        if (text == "exit") {
            gExitHook = reinterpret_cast<VmExitHook>(option.extraInfo);
        } else if (text == "abort") {
            gAbortHook = reinterpret_cast<VmAbortHook>(option.extraInfo);
        }
    }
    for (const std::string& line : gSteering.all("create.err")) {
        logLine("create.err", line);
        writeStandardError(line + "\r\n");
    }
    // A slow start, so that what the launcher shows meanwhile can be timed against create.end.
    long long delay = gSteering.number("create.delay", 0);
    if (delay > 0) {
        Sleep(static_cast<DWORD>(std::min<long long>(delay, 600000)));
    }
    jint result = static_cast<jint>(gSteering.number("create.result", JNI_OK));
    if (gCreated) {
        result = JNI_EEXIST;
    } else if (result == JNI_OK && !supportedVersion(init->version)) {
        result = JNI_EVERSION;
    }
    for (const std::string& name : gSteering.all("env")) {
        logEnvironmentVariable(name);
    }
    logLine("create.result", std::to_string(result));
    if (result != JNI_OK) {
        return result;
    }
    gCreated = true;
    createWorld();
    currentThread().attached = true;
    *pvm = &gVm;
    *penv = &currentThread().env;
    return JNI_OK;
}

} // namespace

extern "C" {

JNIEXPORT jint JNICALL JNI_CreateJavaVM(JavaVM** pvm, void** penv, void* args)
{
    jint result = createJavaVm(pvm, penv, args);
    logLine("create.end", elapsedSinceProcessStart());
    return result;
}

#ifndef TEST_RUNTIME_WITHOUT_DEFAULT_ARGS
JNIEXPORT jint JNICALL JNI_GetDefaultJavaVMInitArgs(void* args)
{
    jint version = *static_cast<jint*>(args);
    logLine("getdefault", hex(version));
    if (version == JNI_VERSION_1_1) {
        auto* init = static_cast<JDK1_1InitArgs*>(args);
        init->javaStackSize = static_cast<jint>(gSteering.number("default.stack", 0));
        logLine("getdefault.stack", std::to_string(init->javaStackSize));
        return JNI_OK;
    }
    return supportedVersion(version) ? JNI_OK : JNI_EVERSION;
}
#endif

JNIEXPORT jint JNICALL JNI_GetCreatedJavaVMs(JavaVM** vms, jsize size, jsize* count)
{
    bool live = gCreated && !gDestroyed;
    if (live && size > 0) {
        vms[0] = &gVm;
    }
    *count = live ? 1 : 0;
    return JNI_OK;
}

#ifndef TEST_RUNTIME_WITHOUT_BOOT_LOADER
// Finds a class of the runtime's own class library; application classes are not visible here.
JNIEXPORT jclass JNICALL JVM_FindClassFromBootLoader(JNIEnv* env, const char* name)
{
    useEnv(env, "JVM_FindClassFromBootLoader");
    logLine("bootloader", name ? name : "null");
    const JavaClass* cls = name ? findClass(name) : nullptr;
    if (!cls || !cls->boot) {
        logLine("notfound", name ? name : "null");
        return nullptr;
    }
    return classRef(cls);
}
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        std::wstring path = modulePath(instance);
        std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
        openLog(folder + L"testruntime.log");
        gSteering.parse(readFile(folder + L"testruntime.cfg"));
        logLine("dll", utf8FromWide(path));
        logLine("pid", std::to_string(GetCurrentProcessId()));
    }
    return TRUE;
}

} // extern "C"
