package scenario.app;

// Ends the VM with the exit code given as the first argument.
public final class Exit {
    private Exit() {
    }

    public static void main(String[] args) {
        System.out.println("exiting with " + args[0]);
        System.exit(Integer.parseInt(args[0]));
    }
}
