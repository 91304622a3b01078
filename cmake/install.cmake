# install.cmake -- what a desktop user needs: the program and its launcher, the tune, the icons,
# the document type's MIME package and the desktop entry that opens its files.
set(desktop_dir ${PROJECT_SOURCE_DIR}/res/desktop)

install(TARGETS tavrolu RUNTIME DESTINATION bin)
# The launcher finds the program and the tune from its own place: bin/ and share/tavrolu/.
install(PROGRAMS ${desktop_dir}/tavrolu-launch DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/res/cor.mid DESTINATION share/tavrolu)
foreach(size 16 32)
    set(icons share/icons/hicolor/${size}x${size})
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/app${size}.png
            DESTINATION ${icons}/apps RENAME tavrolu.png)
    install(FILES ${PROJECT_SOURCE_DIR}/res/icons/doc${size}.png
            DESTINATION ${icons}/mimetypes RENAME application-x-tavrolu.document.png)
endforeach()
install(FILES ${desktop_dir}/Tavrolu.Document.xml DESTINATION share/mime/packages)

# The desktop entry names the launcher by its absolute path, which only the install step knows
# (cmake --install --prefix).
install(CODE "set(TAVROLU_DESKTOP_IN \"${desktop_dir}/tavrolu.desktop.in\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install_desktop.cmake)
