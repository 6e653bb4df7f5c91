# SPDX-License-Identifier: GPL-3.0-or-later
# Installation layout and the Debian package; on Windows, the portable zip and
# the installer (cmake/Windows.cmake).
#
#   cmake --install build --prefix /usr       installs Zorvel
#   cd build && cpack -G DEB                   makes zorvel_<version>_<arch>.deb
#
# One application id names the desktop file, the metainfo, the icon and the
# program's desktop file name at run time.

include(GNUInstallDirs)

set(ZORVEL_APP_ID org.zorvel.Zorvel)
# The day the version in project() was released; change the two together.
set(ZORVEL_RELEASE_DATE 2026-12-09)
set(ZORVEL_PACKAGE_MAINTAINER "Zorvel developers <zorvel@users.noreply.example.org>"
    CACHE STRING "Maintainer named in the Debian package")

# "2026-12-09" as "Wed, 09 Dec 2026 00:00:00 +0000", the form of a Debian changelog.
function(zorvel_changelog_date out iso_date)
    if(NOT iso_date MATCHES "^([0-9][0-9][0-9][0-9])-0?([0-9]+)-0?([0-9]+)$")
        message(FATAL_ERROR "Release date ${iso_date} is not YYYY-MM-DD")
    endif()
    set(month ${CMAKE_MATCH_2})
    set(day ${CMAKE_MATCH_3})
    # Days since 1970-01-01 in the proleptic Gregorian calendar
    set(year ${CMAKE_MATCH_1})
    if(month LESS_EQUAL 2)
        math(EXPR year "${year} - 1")
    endif()
    math(EXPR year_of_era "${year} % 400")
    math(EXPR day_of_year "(153 * ((${month} + 9) % 12) + 2) / 5 + ${day} - 1")
    math(EXPR days "(${year} / 400) * 146097 + ${year_of_era} * 365 + ${year_of_era} / 4
                    - ${year_of_era} / 100 + ${day_of_year} - 719468")
    math(EXPR seconds "${days} * 86400")
    set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
    set(ENV{SOURCE_DATE_EPOCH} ${seconds})
    string(TIMESTAMP formatted "%a, %d %b %Y %H:%M:%S +0000" UTC)
    set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")
    set(${out} "${formatted}" PARENT_SCOPE)
endfunction()

set(zorvel_packaging_dir ${CMAKE_CURRENT_LIST_DIR}/../packaging)
set(zorvel_icon_dir ${CMAKE_CURRENT_LIST_DIR}/../src/app/icons)

# On Windows, zorvel.exe stands at the top of its folder, with what it loads.
if(WIN32)
    set(zorvel_program_dir .)
else()
    set(zorvel_program_dir ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS zorvel
    RUNTIME DESTINATION ${zorvel_program_dir}
    BUNDLE DESTINATION .)

if(UNIX AND NOT APPLE)
    # Hardened as Debian builds its programs: a fully read-only GOT.
    target_link_options(zorvel PRIVATE LINKER:-z,relro,-z,now)
    # Stripping also drops the compiler's notes, as Debian's own tools do.
    if(CMAKE_STRIP)
        install(CODE "
            if(CMAKE_INSTALL_DO_STRIP)
                execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zorvel\")
            endif()")
    endif()

    # Desktop integration
    install(FILES ${zorvel_packaging_dir}/${ZORVEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

    configure_file(${zorvel_packaging_dir}/${ZORVEL_APP_ID}.metainfo.xml.in
        ${CMAKE_CURRENT_BINARY_DIR}/${ZORVEL_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${ZORVEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

    file(GLOB zorvel_icons CONFIGURE_DEPENDS ${zorvel_icon_dir}/zorvel-*.png)
    foreach(icon ${zorvel_icons})
        string(REGEX REPLACE ".*/zorvel-([0-9]+)\\.png$" "\\1" icon_size ${icon})
        install(FILES ${icon}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${icon_size}x${icon_size}/apps
            RENAME ${ZORVEL_APP_ID}.png)
    endforeach()
    install(FILES ${zorvel_packaging_dir}/${ZORVEL_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

    # Manual page and the package's documentation, compressed as Debian has them
    zorvel_changelog_date(changelog_date ${ZORVEL_RELEASE_DATE})
    file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog CONTENT
"zorvel (${PROJECT_VERSION}) unstable; urgency=medium

  * Release ${PROJECT_VERSION}.

 -- ${ZORVEL_PACKAGE_MAINTAINER}  ${changelog_date}
")
    set(zorvel_compressed_docs)
    foreach(doc ${zorvel_packaging_dir}/zorvel.1 ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
        get_filename_component(doc_name ${doc} NAME)
        set(compressed ${CMAKE_CURRENT_BINARY_DIR}/packaging/${doc_name}.gz)
        add_custom_command(OUTPUT ${compressed}
            COMMAND gzip -9n -c ${doc} > ${compressed}
            DEPENDS ${doc}
            VERBATIM)
        list(APPEND zorvel_compressed_docs ${compressed})
    endforeach()
    add_custom_target(zorvel_packaging_docs ALL DEPENDS ${zorvel_compressed_docs})
    add_dependencies(zorvel zorvel_packaging_docs)

    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/zorvel.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${zorvel_packaging_dir}/copyright
                  ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zorvel)
endif()

# Debian package
set(CPACK_PACKAGE_NAME zorvel)
set(CPACK_PACKAGE_VENDOR "Zorvel developers")
set(CPACK_PACKAGE_CONTACT ${ZORVEL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "divergent thinking trainer with generated questions")
set(CPACK_PACKAGE_DESCRIPTION
"Zorvel trains divergent, associative thinking. It asks one generated
question at a time, such as to list the uses of a random word, and the user
answers with one word or short phrase after another. Every answer is judged,
answered with a feedback phrase, written into the answer record and scored;
words new to the dictionary are learned. An evaluation window charts four
thinking indices computed from the whole history.

The user interface is in Chinese.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_LIST_DIR}/../LICENSE)
if(WIN32)
    # Windows.cmake strips what it installs, with the cross toolchain's strip.
    include(${CMAKE_CURRENT_LIST_DIR}/Windows.cmake)
else()
    set(CPACK_STRIP_FILES ON)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZORVEL_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What dpkg-shlibdeps cannot see: the SQL driver plugin, the Chinese face the
# windows fall back to and the metric-compatible sans.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, fonts-noto-cjk | fonts-wqy-zenhei, fonts-liberation2")
# Wayland sessions, Chinese input methods and Qt's own texts in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-wayland, fcitx5-frontend-qt6 | ibus, qt6-translations-l10n")

include(CPack)
