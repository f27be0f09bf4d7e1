#!/usr/bin/env python3
"""Generates the Windows-calling-convention function tables of the bridge.

Reads the JNIEnv and JavaVM function tables (struct JNINativeInterface_ and
struct JNIInvokeInterface_) from a JDK's jni.h and writes one C++ source with
an ms_abi thunk per slot. A thunk receives the bridge's wrapper (WinEnv or
WinVM), calls the same slot of the real HotSpot table with the real pointer,
and returns its result. Slots that need more than forwarding are handled like
this:
  - variadic slots ("...") and va_list slots ("...V") read the arguments from a
    Windows va_list, decode them with the method's signature and call the
    "...A" slot with a jvalue array;
  - the slots named in CUSTOM_* below are written by hand (the generator only
    declares them, so a wrong hand-written signature fails to compile).

Usage: generate_thunks.py <jni.h> <output.cpp>
"""
import re
import sys

# Slots implemented by hand in the bridge sources.
CUSTOM_ENV = {"GetMethodID", "GetStaticMethodID", "RegisterNatives", "GetJavaVM", "ExceptionDescribe"}
CUSTOM_VM = {"DestroyJavaVM", "AttachCurrentThread", "AttachCurrentThreadAsDaemon", "GetEnv"}

# Slots newer JDKs added after the end of the table, with the answer that is
# right for a VM that predates them. Appended when the jni.h read lacks them,
# so Windows code compiled against a newer table finds a valid function.
LATER_ENV_SLOTS = [
    ("IsVirtualThread", "jboolean", [("JNIEnv *", "env"), ("jobject", "obj")], "JNI_FALSE"),
]


def struct_body(text, name):
    match = re.search(r"struct\s+" + name + r"\s*\{(.*?)\n\};", text, re.S)
    if not match:
        sys.exit("generate_thunks: struct %s not found" % name)
    return match.group(1)


def parse_slots(body):
    """Returns the slots in order: (name, return type, [(type, name)], variadic) or None for reserved."""
    body = re.sub(r"/\*.*?\*/", "", body, flags=re.S)
    body = re.sub(r"//[^\n]*", "", body)
    slots = []
    for entry in body.split(";"):
        entry = " ".join(entry.split())
        if not entry:
            continue
        if re.fullmatch(r"void \*\s*reserved\d+", entry):
            slots.append(None)
            continue
        match = re.fullmatch(r"(.+?)\s*\(\s*JNICALL\s*\*\s*(\w+)\s*\)\s*\((.*)\)", entry)
        if not match:
            sys.exit("generate_thunks: cannot parse slot: " + entry)
        ret, name, params_text = match.group(1).strip(), match.group(2), match.group(3)
        params = []
        variadic = False
        for param in params_text.split(","):
            param = param.strip()
            if param == "...":
                variadic = True
                continue
            pmatch = re.fullmatch(r"(.*?[\s\*])(\w+)", param)
            if not pmatch:
                sys.exit("generate_thunks: cannot parse parameter '%s' of %s" % (param, name))
            ptype = re.sub(r"\s*\*", " *", " ".join(pmatch.group(1).split())).strip()
            params.append((ptype, pmatch.group(2)))
        slots.append((name, ret, params, variadic))
    return slots


def call_target(name):
    """How the decoder finds the method's class when the signature was not recorded."""
    if name.startswith("CallStatic"):
        return "CallTarget::StaticClass"
    if name.startswith("CallNonvirtual") or name.startswith("NewObject"):
        return "CallTarget::InstanceClass"
    return "CallTarget::InstanceObject"


def thunk_params(params, wrapper, real_type):
    out = []
    for ptype, pname in params:
        if ptype == real_type:
            ptype = wrapper + " *"
        elif ptype == "va_list":
            ptype = "__builtin_ms_va_list"
        out.append("%s %s" % (ptype, pname))
    return ", ".join(out)


def forward_args(params, real_type):
    return ", ".join(("%s->real" % pname) if ptype == real_type else pname for ptype, pname in params)


def emit_table(out, slots, wrapper, real_type, custom, table_name, struct_name, later=()):
    names = []
    present = {slot[0] for slot in slots if slot is not None}
    appended = 0
    for name, ret, params, answer in later:
        if name in present:
            continue
        thunk = "thunk_" + name
        out.append("static MSABI %s %s(%s) {" % (ret, thunk, thunk_params(params, wrapper, real_type)))
        out.append("    // Not in the jni.h this bridge was generated from.")
        for _, pname in params:
            out.append("    (void)%s;" % pname)
        out.append("    return %s;" % answer)
        out.append("}")
        appended += 1
    for slot in slots:
        if slot is None:
            names.append("nullptr")
            continue
        name, ret, params, variadic = slot
        self_name = params[0][1]
        sig = thunk_params(params, wrapper, real_type)
        is_valist = any(ptype == "va_list" for ptype, _ in params)
        if name in custom:
            out.append("MSABI %s custom_%s(%s);" % (ret, name, sig + (", ..." if variadic else "")))
            names.append("custom_" + name)
            continue
        thunk = "thunk_" + name
        names.append(thunk)
        ret_kw = "" if ret == "void" else "return "
        if variadic or is_valist:
            plain = [p for p in params if p[0] != "va_list"]
            mid = plain[-1][1]
            target = plain[-2][1]
            a_name = (name[:-1] if is_valist else name) + "A"
            a_args = forward_args(plain, real_type) + ", args.data()"
            out.append("static MSABI %s %s(%s) {" % (ret, thunk, sig + (", ..." if variadic else "")))
            if variadic:
                out.append("    __builtin_ms_va_list varargs;")
                out.append("    __builtin_ms_va_start(varargs, %s);" % mid)
                source = "varargs"
            else:
                source = "args_in"
            out.append("    ArgumentArray args;")
            out.append("    const bool decoded = decodeArguments(%s->real, %s, %s, %s, %s, args);"
                       % (self_name, target, mid, call_target(name), source))
            if variadic:
                out.append("    __builtin_ms_va_end(varargs);")
            if ret == "void":
                out.append("    if (!decoded) return;")
            else:
                out.append("    if (!decoded) return %s{};" % ret)
            out.append("    %s%s->real->functions->%s(%s);" % (ret_kw, self_name, a_name, a_args))
            out.append("}")
        else:
            out.append("static MSABI %s %s(%s) {" % (ret, thunk, sig))
            out.append("    %s%s->real->functions->%s(%s);"
                       % (ret_kw, self_name, name, forward_args(params, real_type)))
            out.append("}")
    names += ["thunk_" + name for name, _, _, _ in later if name not in present]
    out.append("")
    out.append("extern const void* const %s[%d];" % (table_name, len(names)))
    out.append("const void* const %s[%d] = {" % (table_name, len(names)))
    for n in names:
        out.append("    %s," % (n if n == "nullptr" else "reinterpret_cast<const void*>(&%s)" % n))
    out.append("};")
    out.append("static_assert(sizeof(%s) == sizeof(%s) + %d * sizeof(void*), \"slot count differs from jni.h\");"
               % (table_name, struct_name, appended))
    out.append("")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        text = f.read()
    env_slots = parse_slots(struct_body(text, "JNINativeInterface_"))
    vm_slots = parse_slots(struct_body(text, "JNIInvokeInterface_"))
    out = [
        "// Generated by generate_thunks.py from " + sys.argv[1] + "; do not edit.",
        "#include \"Bridge.h\"",
        "",
        "namespace hsbridge {",
        "",
    ]
    # The V slots name their va_list parameter "args", which the decoder's
    # jvalue array also wants: rename it in the thunk.
    def rename(slots):
        renamed = []
        for slot in slots:
            if slot is not None:
                name, ret, params, variadic = slot
                params = [(t, "args_in" if t == "va_list" else n) for t, n in params]
                slot = (name, ret, params, variadic)
            renamed.append(slot)
        return renamed
    emit_table(out, rename(env_slots), "WinEnv", "JNIEnv *", CUSTOM_ENV, "kEnvFunctions", "JNINativeInterface_",
               LATER_ENV_SLOTS)
    emit_table(out, vm_slots, "WinVM", "JavaVM *", CUSTOM_VM, "kVmFunctions", "JNIInvokeInterface_")
    out.append("}  // namespace hsbridge")
    found = {s[0] for s in env_slots + vm_slots if s is not None}
    missing = (CUSTOM_ENV | CUSTOM_VM) - found
    if missing:
        sys.exit("generate_thunks: jni.h lacks slots " + ", ".join(sorted(missing)))
    with open(sys.argv[2], "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
