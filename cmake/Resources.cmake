# Resource scripts of the launcher: every src/*/*.rc file is compiled into it.
file(GLOB LAUNCHER_RESOURCE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/*.rc)
