package scenario.app;

// Compiled, then marked as a class file of a newer Java than the runtime's
// (the build raises its major version), as if built for a later release.
public final class FromTheFuture {
    private FromTheFuture() {
    }

    public static void main(String[] args) {
        System.out.println("never runs");
    }
}
