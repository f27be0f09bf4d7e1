package scenario.app;

// Returns from main while a non-daemon thread still sleeps for the number of
// milliseconds given as the first argument.
public final class Linger {
    private Linger() {
    }

    public static void main(String[] args) {
        final long millis = Long.parseLong(args[0]);
        Thread worker = new Thread(() -> {
            try {
                Thread.sleep(millis);
            } catch (InterruptedException e) {
                System.out.println("worker interrupted");
                return;
            }
            System.out.println("worker finished");
        }, "lingering worker");
        worker.setDaemon(false);
        worker.start();
        System.out.println("main returns");
    }
}
