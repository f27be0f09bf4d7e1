// The Java side of the bridge checks: the Windows check program starts a VM
// through the bridge, calls main with a scenario name and arguments, and reads
// what this class prints.
public final class BridgeProbe {
    private final int base;

    public BridgeProbe(int base) {
        this.base = base;
    }

    public int plus(int value, long wide) {
        return base + value + (int) wide;
    }

    // Echoes every primitive kind so a caller can see that variadic arguments
    // arrived in the right slots with the right widths.
    public static String describe(int i, long j, double d, float f, boolean z, char c, short s, byte b,
                                  String text) {
        return i + "|" + j + "|" + d + "|" + f + "|" + z + "|" + (int) c + "|" + s + "|" + b + "|" + text;
    }

    // Registered by the check program (a Windows function behind the bridge).
    private static native String combine(int i, long j, double d, float f, boolean z, String text);

    public static void main(String[] args) throws Exception {
        switch (args[0]) {
        case "echo":
            for (int n = 1; n < args.length; ++n) {
                StringBuilder codes = new StringBuilder();
                args[n].codePoints().forEach(cp -> codes.append(' ').append(Integer.toHexString(cp)));
                System.out.println("arg=" + args[n] + " codes:" + codes);
            }
            System.out.println("class.path=" + System.getProperty("java.class.path"));
            System.out.println("library.path=" + System.getProperty("java.library.path"));
            System.out.println("greeting=" + System.getProperty("probe.greeting"));
            break;
        case "native":
            System.out.println("native=" + combine(7, 1L << 40, 2.5, 0.25f, true, "Gr\u00fc\u00dfe"));
            break;
        case "exit":
            System.out.println("exiting with " + args[1]);
            System.exit(Integer.parseInt(args[1]));
            break;
        case "worker":
            Thread worker = new Thread(() -> {
                try {
                    Thread.sleep(Long.parseLong(args[1]));
                } catch (InterruptedException e) {
                    return;
                }
                System.out.println("worker finished");
            });
            worker.start();
            System.out.println("main returns");
            break;
        default:
            throw new IllegalArgumentException(args[0]);
        }
    }
}
