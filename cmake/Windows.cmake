# SPDX-License-Identifier: GPL-3.0-or-later
# Zorvel for Windows: the program's resource (icon and version information), and
# everything that has to stand beside zorvel.exe for it to start on a machine
# without Qt: the Qt libraries, the plugins it loads, the MinGW runtime, Qt's
# Chinese translation and a qt.conf; every binary stripped. Included by
# Packaging.cmake, which makes the portable zip and the installer from this.

set(zorvel_windows_dir ${CMAKE_CURRENT_LIST_DIR}/../packaging/windows)

# Icon (made from src/app/icons by tools/make_ico.py), version information and
# the application manifest, compiled on its own: the resource compiler takes
# none of the C++ flags.
set(ZORVEL_ICO ${zorvel_windows_dir}/zorvel.ico)
set(ZORVEL_MANIFEST ${zorvel_windows_dir}/zorvel.exe.manifest)
find_program(ZORVEL_WINDRES NAMES ${CMAKE_RC_COMPILER} x86_64-w64-mingw32-windres windres REQUIRED)
configure_file(${zorvel_windows_dir}/zorvel.rc.in ${CMAKE_BINARY_DIR}/packaging/zorvel.rc @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/zorvel_rc.o
    COMMAND ${ZORVEL_WINDRES} -O coff ${CMAKE_BINARY_DIR}/packaging/zorvel.rc ${CMAKE_BINARY_DIR}/packaging/zorvel_rc.o
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/zorvel.rc ${ZORVEL_ICO} ${ZORVEL_MANIFEST}
    VERBATIM)
add_custom_target(zorvel_resource DEPENDS ${CMAKE_BINARY_DIR}/packaging/zorvel_rc.o)
add_dependencies(zorvel zorvel_resource)
target_sources(zorvel PRIVATE ${CMAKE_BINARY_DIR}/packaging/zorvel_rc.o)

# The Qt libraries Zorvel links, and the plugins it loads: the Windows platform,
# the Vista style, the SQLite driver, and whichever image formats this Qt has.
set(zorvel_deployed)
foreach(module Core Gui Widgets Network Sql)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
    list(APPEND zorvel_deployed "$<TARGET_FILE_NAME:Qt6::${module}>")
endforeach()
set(zorvel_plugins
    platforms QWindowsIntegrationPlugin
    styles QWindowsVistaStylePlugin
    sqldrivers QSQLiteDriverPlugin
    imageformats QGifPlugin
    imageformats QICOPlugin
    imageformats QJpegPlugin)
while(zorvel_plugins)
    list(POP_FRONT zorvel_plugins plugin_type plugin)
    if(TARGET Qt6::${plugin})
        install(FILES $<TARGET_FILE:Qt6::${plugin}> DESTINATION ${plugin_type})
        list(APPEND zorvel_deployed "${plugin_type}/$<TARGET_FILE_NAME:Qt6::${plugin}>")
    elseif(plugin_type STREQUAL "imageformats")
        message(STATUS "This Qt has no ${plugin}; PNG, the format Zorvel uses, is built into Qt Gui")
    else()
        message(FATAL_ERROR "This Qt has no ${plugin}, which Zorvel needs on Windows")
    endif()
endwhile()

# The runtime of the MinGW compiler that built it all (posix threads)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${dll_path}" OR NOT EXISTS "${dll_path}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    file(REAL_PATH ${dll_path} dll_path)
    get_filename_component(dll_dir ${dll_path} DIRECTORY)
    list(APPEND ZORVEL_MINGW_RUNTIME_DIRS ${dll_dir})
    install(FILES ${dll_path} DESTINATION .)
    list(APPEND zorvel_deployed ${dll})
endforeach()
list(REMOVE_DUPLICATES ZORVEL_MINGW_RUNTIME_DIRS)

# Qt's own texts in Chinese; .qm files are the same on every system.
find_file(ZORVEL_QTBASE_ZH_CN qtbase_zh_CN.qm
    PATHS ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS} /usr/share/qt6/translations
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(ZORVEL_QTBASE_ZH_CN)
    install(FILES ${ZORVEL_QTBASE_ZH_CN} DESTINATION translations)
else()
    message(STATUS "qtbase_zh_CN.qm not found (qt6-translations-l10n): Qt's own texts stay in English")
endif()
install(FILES ${zorvel_windows_dir}/qt.conf DESTINATION .)

# Stripped: the unstripped Qt alone is about 90 MB.
find_program(ZORVEL_WINDOWS_STRIP NAMES x86_64-w64-mingw32-strip)
if(NOT ZORVEL_WINDOWS_STRIP)
    message(FATAL_ERROR "x86_64-w64-mingw32-strip not found (binutils-mingw-w64-x86-64)")
endif()
list(APPEND zorvel_deployed "$<TARGET_FILE_NAME:zorvel>")
install(CODE "
    foreach(binary ${zorvel_deployed})
        execute_process(COMMAND \"${ZORVEL_WINDOWS_STRIP}\" --strip-unneeded
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${binary}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()")

# The portable zip and the per-user installer (packaging/windows/NSIS.template.in)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME zorvel-${PROJECT_VERSION}-windows-x64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Zorvel)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Zorvel)
set(CPACK_NSIS_PACKAGE_NAME Zorvel)
set(CPACK_NSIS_DISPLAY_NAME Zorvel)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MUI_ICON ${ZORVEL_ICO})
list(PREPEND CMAKE_MODULE_PATH ${zorvel_windows_dir})
