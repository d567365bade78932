# The four user manuals: Markdown in docs/manual/ turned into the PDFs that Help, Contents
# opens, by a small tool on Qt's own PDF writer. They are written beside the program, so F1
# finds them in a build tree too.
qt_add_executable(vorn4-manualpdf tools/manualpdf.cpp)
target_link_libraries(vorn4-manualpdf PRIVATE Qt6::Gui)

file(GLOB VORN4_MANUAL_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/manual/images/*.png)
set(VORN4_MANUAL_LANGUAGES en de fr cz)
set(VORN4_MANUAL_TITLE_en "VORN-4 programming tool: user manual")
set(VORN4_MANUAL_TITLE_de "VORN-4 Programmiersoftware: Benutzerhandbuch")
set(VORN4_MANUAL_TITLE_fr "Logiciel de programmation VORN-4 : manuel d'utilisation")
set(VORN4_MANUAL_TITLE_cz "Programovací nástroj VORN-4: uživatelská příručka")
set(VORN4_MANUAL_PDFS)
foreach(lang ${VORN4_MANUAL_LANGUAGES})
    set(pdf ${CMAKE_BINARY_DIR}/manual_lumenor_vorn_4_${lang}.pdf)
    add_custom_command(OUTPUT ${pdf}
        # Fonts come from fontconfig; no display is needed. Leak reports of a sanitizer build
        # would fail the build for a tool that ends at once.
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:vorn4-manualpdf> ${CMAKE_SOURCE_DIR}/docs/manual/${lang}.md ${pdf}
            "${VORN4_MANUAL_TITLE_${lang}}"
        DEPENDS vorn4-manualpdf ${CMAKE_SOURCE_DIR}/docs/manual/${lang}.md ${VORN4_MANUAL_PICTURES}
        COMMENT "Manual ${lang}"
        VERBATIM)
    list(APPEND VORN4_MANUAL_PDFS ${pdf})
endforeach()
add_custom_target(vorn4-manuals ALL DEPENDS ${VORN4_MANUAL_PDFS})
