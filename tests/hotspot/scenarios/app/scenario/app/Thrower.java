package scenario.app;

// Lets an exception with a non-ASCII message (a supplementary character
// included) and a cause escape main.
public final class Thrower {
    private Thrower() {
    }

    public static void main(String[] args) {
        try {
            fail();
        } catch (IllegalArgumentException cause) {
            throw new IllegalStateException("\u00dcberlauf \u2603 \uD83D\uDE00 " + String.join(" ", args), cause);
        }
    }

    private static void fail() {
        throw new IllegalArgumentException("inner");
    }
}
