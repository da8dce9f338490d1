// Brazilian Portuguese texts of the wizard's pages (setup.pages.rci), in the names of en.h.
#include "undef.h"

#define T_CHARSET 1 // DEFAULT_CHARSET

#define T_WELCOME_CAPTION "Bem-vindo"
#define T_WELCOME_710 "Bem-vindo ao programa de instalação do %s. Este programa instalará o %s no computador."
#define T_WELCOME_720 "É altamente recomendável que você feche todos os programas do Windows antes de executar este programa de instalação."

#define T_INTERFACE_CAPTION "Seleção da interface de hardware"
#define T_INTERFACE_202 "Selecione o tipo de interface do dispositivo."
#define T_INTERFACE_301 "Interface &PS/2"
#define T_INTERFACE_303 "Interface &USB (Universal Serial Bus)"

#define T_DESTINATION_CAPTION "Escolher o local de destino"
#define T_DESTINATION_202 "O programa de instalação instalará o %s na pasta a seguir.\n\nPara instalar nesta pasta, clique em Avançar.\n\nPara instalar em outra pasta, clique em Procurar e selecione outra pasta."
#define T_DESTINATION_203 "Você pode optar por não instalar o %s clicando em Cancelar para sair do programa de instalação."
#define T_DESTINATION_GROUP "Pasta de destino"
#define T_DESTINATION_31 "P&rocurar..."

#define T_FOLDER_CAPTION "Selecionar a pasta de programas"
#define T_FOLDER_710 "O programa de instalação adicionará ícones de programa à pasta de programas listada abaixo. Você pode digitar um novo nome de pasta ou selecionar uma pasta na lista de pastas existentes. Clique em Avançar para continuar."
#define T_FOLDER_PROGRAM_LABEL "&Pasta de programas:"
#define T_FOLDER_EXISTING_LABEL "Pastas e&xistentes:"

#define T_SUMMARY_CAPTION "Iniciar a instalação"
#define T_SUMMARY_711 "O programa de instalação está pronto para iniciar a instalação. Clique em Voltar para revisar ou alterar a configuração atual. Se a configuração estiver correta, clique em Avançar para iniciar a instalação."
#define T_SUMMARY_701 "Configuração atual:"

#define T_PROGRESS_CAPTION "Procedimentos de instalação"
#define T_PROGRESS_1450 "Aguarde enquanto o programa de instalação copia os arquivos para o sistema."
#define T_PROGRESS_1003 "O programa de instalação está atualizando o Registro e o driver. Aguarde..."
#define T_PROGRESS_1500 "De:"
#define T_PROGRESS_2 "Para:"

#define T_RESULT_CAPTION "Resultado da instalação"
#define T_RESULT_711 "O programa de instalação instalou o %s com êxito.\n\nAntes de usar o %s, você deve reiniciar o computador."
#define T_RESULT_502 "&Reiniciar o computador agora."
#define T_RESULT_503 "Vou reiniciar o computador &mais tarde."
#define T_RESULT_712 "Remova os disquetes das unidades de disquete e clique em Concluir para finalizar a instalação."
#define T_RESULT_713 "O programa de instalação instalou o %s com êxito.\n\nClique em Concluir para finalizar a instalação."
#define T_RESULT_1004 "O programa de instalação não conseguiu instalar o driver no sistema."
#define T_RESULT_1005 "Você não tem privilégios suficientes para instalar o driver. Faça logon como administrador e execute este programa de instalação novamente."
#define T_RESULT_1007 "Para obter mais informações, consulte o arquivo README.TXT ou o manual do usuário."

#define T_EXIT_CAPTION "Sair da instalação"
#define T_EXIT_1032 "A instalação não foi concluída. Se você sair agora, o %s não será instalado no computador."
#define T_EXIT_AGAIN "Você poderá executar o programa de instalação novamente a qualquer momento para concluir a instalação."
#define T_EXIT_1033 "Para continuar a instalação do %s, clique em Continuar. Para sair, clique em Sair da instalação."
#define T_EXIT_RESUME "&Continuar"
#define T_EXIT_EXIT "&Sair da instalação"
