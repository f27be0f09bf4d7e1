package demo;

import java.util.Locale;

// A small real Java application for the launcher's demo: shows what reached
// it from the launcher (arguments, a property from the VM parameters, the
// heap limit) and writes to both output streams.
public final class DemoApp {
    public static void main(String[] args) {
        System.out.println("Hello from real Java " + System.getProperty("java.version")
                + " (" + System.getProperty("java.vm.name") + ")");
        System.out.println("Arguments (" + args.length + "):");
        for (int i = 0; i < args.length; ++i) {
            System.out.println("  [" + i + "] " + args[i]);
        }
        System.out.println("demo.greeting = " + System.getProperty("demo.greeting", "(not set)"));
        System.out.println(String.format(Locale.ROOT, "Runtime.maxMemory = %.1f MB",
                Runtime.getRuntime().maxMemory() / (1024.0 * 1024.0)));
        System.out.println("java.class.path = " + System.getProperty("java.class.path"));
        System.err.println("This line was written to System.err.");
    }
}
