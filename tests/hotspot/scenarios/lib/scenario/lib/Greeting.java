package scenario.lib;

// Lives in a jar of its own, so that a main class using it shows that every
// jar a class path wildcard matched reached the VM.
public final class Greeting {
    private Greeting() {
    }

    public static String text() {
        return "greeting from the library jar";
    }
}
