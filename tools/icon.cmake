# The desktop icon: PNG files at the usual theme sizes, painted at build time by the same code as
# the window icon, and installed into the hicolor theme.
set(PLINKAT_ICON_SIZES 16 32 48 64 128 256)
set(PLINKAT_ICON_DIR "${CMAKE_BINARY_DIR}/icons")

add_executable(plinkat_make_icon "${PROJECT_SOURCE_DIR}/tools/make_icon.cpp")
target_link_libraries(plinkat_make_icon PRIVATE plinkat_assets)

set(icon_files "")
foreach(size IN LISTS PLINKAT_ICON_SIZES)
    list(APPEND icon_files "${PLINKAT_ICON_DIR}/${size}x${size}/plinkat.png")
endforeach()
add_custom_command(OUTPUT ${icon_files}
    COMMAND plinkat_make_icon "${PLINKAT_ICON_DIR}" ${PLINKAT_ICON_SIZES}
    DEPENDS plinkat_make_icon
    COMMENT "Painting the desktop icon"
    VERBATIM)
add_custom_target(plinkat_icons ALL DEPENDS ${icon_files})

foreach(size IN LISTS PLINKAT_ICON_SIZES)
    install(FILES "${PLINKAT_ICON_DIR}/${size}x${size}/plinkat.png"
            DESTINATION "share/icons/hicolor/${size}x${size}/apps")
endforeach()
