# palm_link must refuse a program the handheld could not run where it is
# loaded: a writable global, a table of pointers, an absolute address in the
# code. A program without any of them links.
file(MAKE_DIRECTORY ${WORK})
set(entry "__attribute__((section(\".text.entry\"))) int entry(int i)")
file(WRITE ${WORK}/global.c "int counter;\n${entry} { return counter += i; }\n")
file(WRITE ${WORK}/table.c "static int a(void) { return 1; }\nstatic int b(void) { return 2; }\n"
           "int (*const table[])(void) = {a, b};\n${entry} { return table[i](); }\n")
file(WRITE ${WORK}/absolute.c "${entry} { int r; __asm__(\"move.l #entry,%0\" : \"=d\"(r)); return r + i; }\n")
file(WRITE ${WORK}/clean.c "static int a(int i) { return i * 3; }\n${entry} { return i ? a(i) : 0; }\n")
foreach(case global table absolute clean)
  execute_process(COMMAND ${CC} -m68000 -mpcrel -Os -ffreestanding -nostdlib -static -Wl,-q -Wl,--build-id=none
                          -Wl,-e,entry -T ${SCRIPT} -o ${WORK}/${case}.elf ${WORK}/${case}.c -lgcc
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot build the ${case} case: ${err}")
  endif()
  execute_process(COMMAND ${LINK} ${WORK}/${case}.bundle 0x1000 ${WORK}/${case}.elf
                  RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(case STREQUAL clean)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "palm_link refused a clean program: ${err}")
    endif()
  elseif(rc EQUAL 0)
    message(FATAL_ERROR "palm_link accepted the ${case} case")
  elseif(case STREQUAL global AND NOT err MATCHES "writable")
    message(FATAL_ERROR "no word of writable data in: ${err}")
  elseif(case STREQUAL table AND NOT err MATCHES "writable|absolute address")
    message(FATAL_ERROR "no word of the pointer table in: ${err}")
  elseif(case STREQUAL absolute AND NOT err MATCHES "absolute address of entry")
    message(FATAL_ERROR "no word of the absolute address in: ${err}")
  endif()
endforeach()
