package scenario.app;

import java.io.IOException;

// InstanceInt under a class name outside ASCII, which reaches the VM as
// modified UTF-8 whatever the code page.
public final class Grüße {
    private Grüße() {
    }

    public static void main(String[] args) throws IOException, InterruptedException {
        InstanceInt.main(args);
    }

    public static int secondaryMain(String[] args) throws IOException {
        return InstanceInt.secondaryMain(args);
    }
}
