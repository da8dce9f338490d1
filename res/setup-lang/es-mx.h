// Spanish (Mexico) texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Bienvenido"
#define T_WELCOME_710 "Bienvenido al programa de instalación de %s. Este programa instalará %s en su equipo."
#define T_WELCOME_720 "Se recomienda encarecidamente que cierre todos los programas de Windows antes de ejecutar este programa de instalación."

#define T_INTERFACE_CAPTION "Selección de la interfaz de hardware"
#define T_INTERFACE_202 "Seleccione el tipo de interfaz de su dispositivo."
#define T_INTERFACE_301 "Interfaz &PS/2"
#define T_INTERFACE_303 "Interfaz &USB (Bus serie universal)"

#define T_DESTINATION_CAPTION "Elegir ubicación de destino"
#define T_DESTINATION_202 "El programa de instalación instalará %s en la siguiente carpeta.\n\nPara instalar en esta carpeta, haga clic en Siguiente.\n\nPara instalar en otra carpeta, haga clic en Examinar y seleccione otra carpeta."
#define T_DESTINATION_203 "Si no desea instalar %s, haga clic en Cancelar para salir del programa de instalación."
#define T_DESTINATION_GROUP "Carpeta de destino"
#define T_DESTINATION_31 "E&xaminar..."

#define T_FOLDER_CAPTION "Seleccionar carpeta de programas"
#define T_FOLDER_710 "El programa de instalación agregará los iconos de programa a la carpeta de programas indicada abajo. Puede escribir un nuevo nombre de carpeta o seleccionar uno de la lista de carpetas existentes. Haga clic en Siguiente para continuar."
#define T_FOLDER_PROGRAM_LABEL "Carpeta de &programas:"
#define T_FOLDER_EXISTING_LABEL "Carpetas e&xistentes:"

#define T_SUMMARY_CAPTION "Iniciar la instalación"
#define T_SUMMARY_711 "El programa de instalación está listo para comenzar la instalación. Haga clic en Atrás para revisar o cambiar la configuración actual. Si la configuración es correcta, haga clic en Siguiente para comenzar la instalación."
#define T_SUMMARY_701 "Configuración actual:"

#define T_PROGRESS_CAPTION "Proceso de instalación"
#define T_PROGRESS_1450 "Espere mientras el programa de instalación copia los archivos en su sistema."
#define T_PROGRESS_1003 "El programa de instalación está actualizando el Registro y el controlador. Espere..."
#define T_PROGRESS_1500 "De:"
#define T_PROGRESS_2 "A:"

#define T_RESULT_CAPTION "Resultado de la instalación"
#define T_RESULT_711 "El programa de instalación instaló %s correctamente.\n\nAntes de usar %s, debe reiniciar el equipo."
#define T_RESULT_502 "&Reiniciar el equipo ahora."
#define T_RESULT_503 "Reiniciaré el equipo &más tarde."
#define T_RESULT_712 "Extraiga los discos de las unidades de disquete y haga clic en Finalizar para completar la instalación."
#define T_RESULT_713 "El programa de instalación instaló %s correctamente.\n\nHaga clic en Finalizar para completar la instalación."
#define T_RESULT_1004 "El programa de instalación no pudo instalar el controlador en su sistema."
#define T_RESULT_1005 "No tiene privilegios suficientes para instalar el controlador. Inicie una sesión como administrador y vuelva a ejecutar este programa de instalación."
#define T_RESULT_1007 "Para obtener más información, consulte el archivo README.TXT o el manual del usuario."

#define T_EXIT_CAPTION "Salir de la instalación"
#define T_EXIT_1032 "La instalación no está completa. Si sale ahora, %s no se instalará en su equipo."
#define T_EXIT_AGAIN "Puede volver a ejecutar el programa de instalación en cualquier momento para completar la instalación."
#define T_EXIT_1033 "Para continuar con la instalación de %s, haga clic en Reanudar. Para salir, haga clic en Salir de la instalación."
#define T_EXIT_RESUME "&Reanudar"
#define T_EXIT_EXIT "&Salir de la instalación"
