package scenario.app;

// A class a deployer named as the main class by mistake: it has no main method.
public final class NoMain {
    private NoMain() {
    }

    public static void start(String[] args) {
        System.out.println("started");
    }
}
