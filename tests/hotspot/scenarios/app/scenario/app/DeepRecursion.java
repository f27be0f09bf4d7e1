package scenario.app;

// Recurses on the thread that runs main to the depth given as the first
// argument and reports whether the thread's stack held it.
public final class DeepRecursion {
    private DeepRecursion() {
    }

    // Several live locals per frame make each level use a fair amount of stack.
    private static long descend(int depth, long a, long b, long c) {
        if (depth == 0) {
            return a + b + c;
        }
        return descend(depth - 1, a + 1, b ^ depth, c + a) + 1;
    }

    public static void main(String[] args) {
        final int depth = Integer.parseInt(args[0]);
        try {
            descend(depth, 1, 2, 3);
            System.out.println("recursion=reached " + depth);
        } catch (StackOverflowError e) {
            System.out.println("recursion=stack overflow");
        }
    }
}
