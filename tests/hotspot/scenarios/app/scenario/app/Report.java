package scenario.app;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Map;
import java.util.TreeMap;

// Prints what reached Java from the launcher, one "key=value" line each: the
// arguments with their code points, the class and library paths, the heap
// limit, every system property whose name starts with "app.", the working
// folder (as the VM sees it) for comparing paths, user.dir, and the text of
// the file named by the property "report.read" (opened by that name as given).
public final class Report {
    private Report() {
    }

    public static void main(String[] args) throws IOException {
        System.out.println("argc=" + args.length);
        for (int i = 0; i < args.length; ++i) {
            StringBuilder codes = new StringBuilder();
            args[i].codePoints().forEach(cp -> codes.append(codes.length() == 0 ? "" : " ")
                    .append(Integer.toHexString(cp)));
            System.out.println("arg" + i + "=" + args[i]);
            System.out.println("arg" + i + ".codes=" + codes);
        }
        System.out.println("greeting=" + scenario.lib.Greeting.text());
        System.out.println("cwd=" + new File(".").getCanonicalPath());
        System.out.println("user.dir=" + System.getProperty("user.dir"));
        String read = System.getProperty("report.read");
        if (read != null) {
            try {
                System.out.println("read=" + Files.readString(Path.of(read)));
            } catch (IOException e) {
                System.out.println("read.failed=" + e);
            }
        }
        System.out.println("class.path=" + System.getProperty("java.class.path"));
        System.out.println("library.path=" + System.getProperty("java.library.path"));
        System.out.println("max.memory=" + Runtime.getRuntime().maxMemory());
        Map<String, String> app = new TreeMap<>();
        System.getProperties().forEach((k, v) -> {
            if (k.toString().startsWith("app.")) {
                app.put(k.toString(), v.toString());
            }
        });
        app.forEach((k, v) -> System.out.println("property." + k + "=" + v));
        System.out.println("end");
    }
}
