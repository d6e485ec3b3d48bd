# Dictionaries kept in their text form are built to dictionary files beside the binaries.
# Each text form is copied first, so that relative links and lists resolve among the built
# files.
function(glossmith_dictionaries target source_dir output_dir)
  file(GLOB forms CONFIGURE_DEPENDS ${source_dir}/*.json)
  set(outputs)
  foreach(form ${forms})
    get_filename_component(name ${form} NAME_WE)
    set(copy ${output_dir}/${name}.json)
    set(out ${output_dir}/${name}.qdx)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${form} ${copy}
      COMMAND glossmith build ${copy} -o ${out}
      DEPENDS glossmith ${form}
      COMMENT "Building ${name}.qdx")
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
endfunction()
