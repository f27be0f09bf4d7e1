#pragma once

// Which JVM library a runtime folder is probed for ("JVM Type").
enum class JvmType : int {
    ClientFirst = 0,
    ServerOnly = 1,
    FavorServer = 2,
};
