#pragma once

// Kinds and vendors searched in the registry, and the vendors whose runtimes
// count as preferred ("JVM Source", "VM Provider"); whether the keys of
// today's OpenJDK installers are searched too ("Search Vendor Runtimes").
struct RuntimeSearchFilter {
    bool searchBothKinds = true;
    bool jdkKind = false;
    bool jreKind = false;
    bool javaSoftAllowed = true;
    bool jrockitAllowed = false;
    bool ibmAllowed = false;
    bool javaSoftFavoured = true;
    bool jrockitFavoured = false;
    bool ibmFavoured = false;
    bool vendorRuntimes = false;
};
