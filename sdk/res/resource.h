// Identifiers of the SDK's satellite resources: strings and "XML" request templates.
#pragma once

#define IDS_LOCALE_NAME              1

#define IDS_TEMPLATE_NOT_LOADED      5000
#define IDS_ELEMENT_NOT_SINGLE_VALUE 5001
#define IDS_XMLHTTP_NOT_CREATED      5002
#define IDS_NOT_INITIALISED          5003
#define IDS_MISSING_ARGUMENT         5004
#define IDS_DOM_NOT_CREATED          5005
#define IDS_NUMBER_NOT_READ          5007
#define IDS_DATE_NOT_CONVERTED       5009
#define IDS_HTTP_STATUS              5013
#define IDS_INDEX_OUT_OF_RANGE       5014
#define IDS_ELEMENT_MISSING          5017
#define IDS_NOT_OWN_OBJECT           5018
#define IDS_ITEM_WITHOUT_ID          5019
#define IDS_XMLHTTP_CALL_FAILED      5020
// 5100 + n: the service reported ERROR_CODE n (0-16 and 18).
#define IDS_SERVICE_ERROR_BASE       5100
