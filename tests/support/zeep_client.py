"""Calls the stand-in version service as a real SOAP client does: zeep reads
the published WSDL and calls GetVersionInfo over both bindings.

usage: zeep_client.py SERVICE_URL PRODUCT_ID
"""
import sys

import zeep

url, product = sys.argv[1], int(sys.argv[2])
client = zeep.Client(url + "?WSDL")
print("soap11", client.service.GetVersionInfo(product))
soap12 = client.bind("Service", "ServiceSoap12")
print("soap12", soap12.GetVersionInfo(product))
