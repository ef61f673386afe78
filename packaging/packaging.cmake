# Desktop integration, manual page and the Debian package. Included after the rivulet
# target and its install rules; `cpack -G DEB` in the build folder makes the package.

find_program(RIVULET_GZIP gzip REQUIRED)
set(pkg_src ${CMAKE_SOURCE_DIR}/packaging)
set(pkg_out ${CMAKE_BINARY_DIR}/packaging)

# Fixed-size icons for desktops that do not scale SVG, rendered from the one drawing.
find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
add_executable(rivulet_render_icon ${pkg_src}/render_icon.cpp)
rivulet_warnings(rivulet_render_icon)
target_link_libraries(rivulet_render_icon PRIVATE Qt6::Gui Qt6::Svg)
set(icon_svg ${CMAKE_SOURCE_DIR}/resources/icons/rivulet.svg)
set(icon_pngs)
foreach(size 48 128)
  set(png ${pkg_out}/icons/${size}x${size}/rivulet.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${pkg_out}/icons/${size}x${size}
    COMMAND rivulet_render_icon ${icon_svg} ${size} ${png}
    DEPENDS rivulet_render_icon ${icon_svg}
    COMMENT "Rendering the ${size} px icon")
  list(APPEND icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Compressed without a time stamp so that two builds give the same bytes.
configure_file(${pkg_src}/rivulet.1.in ${pkg_out}/rivulet.1 @ONLY)
configure_file(${pkg_src}/changelog.in ${pkg_out}/changelog @ONLY)
set(gz_files)
foreach(name rivulet.1 changelog)
  add_custom_command(OUTPUT ${pkg_out}/${name}.gz
    COMMAND ${RIVULET_GZIP} -9nf -k ${pkg_out}/${name}
    DEPENDS ${pkg_out}/${name})
  list(APPEND gz_files ${pkg_out}/${name}.gz)
endforeach()
add_custom_target(rivulet_desktop_files ALL DEPENDS ${icon_pngs} ${gz_files})

install(FILES ${pkg_out}/rivulet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg_src}/rivulet.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME rivulet)
install(FILES ${pkg_src}/example.tarn.Rivulet.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${pkg_src}/copyright ${pkg_out}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rivulet)
# A stripped install (the package's) also drops the compilers' version notes, as Debian's
# own packages do; they help no one at run time.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
      \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_LIBEXECDIR}/rivulet/rivulet\" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR \"objcopy could not remove the .comment section\")
    endif()
  endif()")
# Only the package is checked by lintian; an install under /usr/local needs no overrides.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  install(FILES ${pkg_src}/lintian-overrides
          DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME rivulet)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rivulet)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Tarn)
set(CPACK_PACKAGE_CONTACT "Tarn <support@tarn.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.tarn.example/rivulet/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The SVG window icon is drawn by a Qt plug-in loaded at run time, which shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libqt6svg6)
# Reports are set in a fixed-pitch font; DejaVu Sans Mono is one every desktop can have.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"open-channel and pipe flow calculator (Manning's equation)
Rivulet solves Manning's equation for uniform flow in circular pipes,
rectangular, triangular and trapezoidal channels and street gutters, in SI
or US customary units. Any one of velocity or discharge, depth, diameter or
width, side slope, channel slope and Manning's n may be the unknown; the
flow area, the other flow quantity and the second solution (the other depth
of a part-full pipe) are given with it.
.
Flow details give the wetted perimeter, hydraulic radius, specific energy,
Froude number and regime, critical depth and slope, boundary shear and a
pipe's full and maximum flows. Design checks compare the solution with
velocity, depth, freeboard, Froude number and shear limits and name the
standard pipe size that carries the flow. A rating table plots depth
against discharge.
.
A case table computes a storm-sewer line or a set of channels, one row
each, from CSV. Worksheets cover gutter flow and spread, grate,
curb-opening, slotted and combination inlets on a grade or in a sag, and
irregular sections surveyed as station and elevation points.
.
Reports print or go to PDF, and a batch mode recomputes calculation and
worksheet files for scripts as text, JSON or CSV.")
include(CPack)
