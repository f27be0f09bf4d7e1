package scenario.app;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;

// InstanceInt under a class name outside ASCII, which reaches the VM as
// modified UTF-8 whatever the code page: it records the arguments it was handed in secondary.txt and returns their
// count plus 40. main marks that it runs, then stays up for the number of
// milliseconds given as its first argument.
public final class Grüße {
    private Grüße() {
    }

    public static void main(String[] args) throws IOException, InterruptedException {
        Files.write(Paths.get("main.started"), new byte[0]);
        Thread.sleep(Long.parseLong(args[0]));
    }

    public static int secondaryMain(String[] args) throws IOException {
        Files.write(Paths.get("secondary.txt"), String.join("\n", args).getBytes(StandardCharsets.UTF_8));
        return args.length + 40;
    }
}
