# install_desktop.cmake -- run by cmake --install: writes the desktop entry for the prefix being
# installed to, then refreshes the prefix's MIME and desktop databases when installing for real.
set(launcher "${CMAKE_INSTALL_PREFIX}/bin/tavrolu-launch")
# Inside a quoted Exec argument \ " ` $ take a backslash, then the value's own escaping doubles
# every backslash; a literal % is written %%.
string(REPLACE "\\" "\\\\\\\\" exec "${launcher}")
foreach(ch "\"" "`" "$")
    string(REPLACE "${ch}" "\\\\${ch}" exec "${exec}")
endforeach()
string(REPLACE "%" "%%" exec "${exec}")
set(TAVROLU_EXEC "\"${exec}\"")

set(share "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share")
set(entry "${share}/applications/tavrolu.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${TAVROLU_DESKTOP_IN}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

# A staged install (DESTDIR) leaves the databases to whoever installs the package.
if("$ENV{DESTDIR}" STREQUAL "")
    find_program(update_mime update-mime-database)
    find_program(update_desktop update-desktop-database)
    if(update_mime)
        execute_process(COMMAND "${update_mime}" "${share}/mime" OUTPUT_QUIET ERROR_QUIET)
    endif()
    if(update_desktop)
        execute_process(COMMAND "${update_desktop}" -q "${share}/applications"
                        OUTPUT_QUIET ERROR_QUIET)
    endif()
endif()
