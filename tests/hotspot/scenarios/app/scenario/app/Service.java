package scenario.app;

import java.util.concurrent.CountDownLatch;

// A service's application: main prints its arguments and waits for ever; the
// stop method prints and ends the VM with exit code 4, which runs the
// shutdown hook.
public final class Service {
    private Service() {
    }

    public static void main(String[] args) throws InterruptedException {
        Runtime.getRuntime().addShutdownHook(new Thread(() -> System.out.println("hook")));
        System.out.println("main " + String.join(" ", args));
        new CountDownLatch(1).await();
    }

    public static void stop() {
        System.out.println("stop");
        System.exit(4);
    }
}
